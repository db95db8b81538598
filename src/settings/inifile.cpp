// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/inifile.h"

#include "document/prompter.h"

#include <QByteArrayList>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#define SI_NO_CONVERSION
#include <SimpleIni.h>

#include <string>

namespace {

// Far beyond any settings file; a larger file is not ours to rewrite, and
// the limit keeps a wrong path from loading something huge.
constexpr qint64 MaxFileBytes = IniFile::MaxFileBytes;
constexpr QByteArrayView Utf8Bom("\xEF\xBB\xBF");

struct FileContent
{
    enum class State { Missing, Readable, Unusable };
    State state = State::Missing;
    QByteArray bytes;
};

// Anything but a missing file or a readable regular text file is unusable:
// reads then give defaults and writes refuse, so a wrong path can neither
// hang on a device or pipe nor destroy a file that is not an INI file.
FileContent readFileContent(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return {};
    if (!info.isFile() || info.size() > MaxFileBytes)
        return {FileContent::State::Unusable, {}};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {FileContent::State::Unusable, {}};
    QByteArray bytes = file.read(MaxFileBytes + 1);
    // The parser stops at a NUL byte, so everything after one would be lost.
    if (file.error() != QFileDevice::NoError || bytes.size() > MaxFileBytes || bytes.contains('\0'))
        return {FileContent::State::Unusable, {}};
    return {FileContent::State::Readable, std::move(bytes)};
}

// Values are plain text to the end of the line: no quotes, no multi-line
// values, and "key=value" without blanks around the equals sign.
bool load(CSimpleIniA &ini, const QByteArray &bytes)
{
    ini.SetUnicode(true);
    ini.SetSpaces(false);
    ini.SetQuotes(false);
    ini.SetMultiLine(false);
    ini.SetMultiKey(false);
    return bytes.isEmpty() || ini.LoadData(bytes.constData(), static_cast<size_t>(bytes.size())) >= 0;
}

bool hasLineBreakOrNul(QStringView text)
{
    return text.contains(u'\n') || text.contains(u'\r') || text.contains(QChar(0));
}

// A name that cannot be written without changing the meaning of the file
// (a section with "]", a key with "=" or one read back as a comment or a
// section) matches nothing and is never written.
bool isUsableSection(QStringView section)
{
    return !section.trimmed().isEmpty() && !section.contains(u']') && !hasLineBreakOrNul(section);
}

bool isUsableKey(QStringView key)
{
    const QStringView trimmed = key.trimmed();
    return !trimmed.isEmpty() && !key.contains(u'=') && !hasLineBreakOrNul(key)
           && !trimmed.startsWith(u'[') && !trimmed.startsWith(u';') && !trimmed.startsWith(u'#');
}

bool isCommentLine(const QByteArray &trimmedLine)
{
    return trimmedLine.startsWith(';') || trimmedLine.startsWith('#');
}

// The parser keeps a comment only as the preface of the entry after it, or
// as the file's opening comment block, so comment lines after the last entry
// would be dropped on save. They are returned here to be appended again.
QByteArray unattachedTrailingComments(QByteArrayView bytes)
{
    if (bytes.startsWith(Utf8Bom))
        bytes = bytes.sliced(Utf8Bom.size());
    QByteArrayList lines = bytes.toByteArray().split('\n');
    for (QByteArray &line : lines)
        line = line.trimmed();

    qsizetype start = lines.size();
    while (start > 0 && (lines[start - 1].isEmpty() || isCommentLine(lines[start - 1])))
        --start;
    if (start == 0) {
        // No entry at all: the opening comment block survives, the rest not.
        while (start < lines.size() && lines[start].isEmpty())
            ++start;
        while (start < lines.size() && isCommentLine(lines[start]))
            ++start;
    }

    QByteArray tail;
    for (qsizetype i = start; i < lines.size(); ++i) {
        if (isCommentLine(lines[i]))
            tail += lines[i] + '\n';
    }
    return tail;
}

} // namespace

std::optional<IniFile::FileProblem> IniFile::checkFile(const QString &path, const QString &section)
{
    const QFileInfo info(path);
    if (!info.exists())
        return std::nullopt;
    if (!info.isFile())
        return FileProblem{FileProblem::Kind::NotRegularFile, {}};
    if (info.size() > MaxFileBytes)
        return FileProblem{FileProblem::Kind::TooLarge, {}};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return FileProblem{FileProblem::Kind::CannotRead, file.errorString()};
    const QByteArray bytes = file.read(MaxFileBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return FileProblem{FileProblem::Kind::CannotRead, file.errorString()};
    if (bytes.size() > MaxFileBytes)
        return FileProblem{FileProblem::Kind::TooLarge, {}};
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF"))
        return FileProblem{FileProblem::Kind::Utf16, {}};
    if (bytes.contains('\0'))
        return FileProblem{FileProblem::Kind::NulByte, {}};
    if (QByteArrayView(bytes).sliced(bytes.startsWith(Utf8Bom) ? Utf8Bom.size() : 0).trimmed().isEmpty())
        return std::nullopt;
    CSimpleIniA ini;
    if (!load(ini, bytes) || !ini.GetSection(section.trimmed().toUtf8().constData()))
        return FileProblem{FileProblem::Kind::NoSection, {}};
    return std::nullopt;
}

struct IniFile::Document
{
    CSimpleIniA ini;
    QString path;
    QByteArray bytes;
};

IniFile::IniFile(Prompter &prompter, const QString &defaultPath)
    : m_prompter(prompter)
    , m_sectionName(QStringLiteral("General"))
    , m_fullPath(defaultPath)
{
}

IniFile::IniFile(IniFile &&) noexcept = default;
IniFile::~IniFile() = default;

void IniFile::setFullPath(const QString &path)
{
    m_fullPath = path;
    m_isRegistered = !m_sectionName.trimmed().isEmpty();
}

QString IniFile::fullPath() const
{
    return m_fullPath;
}

void IniFile::setSectionName(const QString &section)
{
    m_sectionName = section;
    m_isRegistered = !section.trimmed().isEmpty();
}

QString IniFile::sectionName() const
{
    return m_sectionName;
}

bool IniFile::isRegistered() const
{
    return m_isRegistered;
}

void IniFile::reportUnregistered() const
{
    m_prompter.warn(QStringLiteral("[Section] and FileName Not Registered in Private.Ini!"),
                      QStringLiteral("IniFile Logic Error"));
}

QString IniFile::GetString(const QString &entryName, const QString &defaultStr) const
{
    if (!m_isRegistered) {
        reportUnregistered();
        return {};
    }
    if (!isUsableSection(m_sectionName) || !isUsableKey(entryName))
        return defaultStr;
    const FileContent content = readFileContent(m_fullPath);
    CSimpleIniA ini;
    if (content.state != FileContent::State::Readable || !load(ini, content.bytes))
        return defaultStr;
    const QByteArray section = m_sectionName.trimmed().toUtf8();
    const QByteArray key = entryName.trimmed().toUtf8();
    const char *value = ini.GetValue(section.constData(), key.constData(), nullptr);
    return value ? QString::fromUtf8(value) : defaultStr;
}

qint16 IniFile::PutString(const QString &entryName, const QString &strValue)
{
    if (!m_isRegistered) {
        reportUnregistered();
        return 0;
    }
    if (!isUsableSection(m_sectionName) || !isUsableKey(entryName) || hasLineBreakOrNul(strValue))
        return 0;
    const FileContent content = readFileContent(m_fullPath);
    if (content.state == FileContent::State::Unusable) {
        m_errorString = QStringLiteral("the file cannot be read");
        return 0;
    }
    // The parser trims values on load, so reloading the file this accessor
    // has just written would strip the leading blank of the values it wrote
    // (" 44"). Its own document is reused while the file is unchanged.
    if (!m_document || m_document->path != m_fullPath || m_document->bytes != content.bytes) {
        auto document = std::make_unique<Document>();
        if (!load(document->ini, content.bytes))
            return 0;
        document->path = m_fullPath;
        m_document = std::move(document);
    }
    const qint16 result = save(content.bytes, entryName, strValue);
    if (result == 0)
        m_document.reset();
    return result;
}

qint16 IniFile::save(const QByteArray &previousBytes, const QString &entryName, const QString &strValue)
{
    CSimpleIniA &ini = m_document->ini;
    const QByteArray section = m_sectionName.trimmed().toUtf8();
    const QByteArray key = entryName.trimmed().toUtf8();
    const QByteArray value = strValue.toUtf8();
    if (ini.SetValue(section.constData(), key.constData(), value.constData()) < 0)
        return 0;
    std::string saved;
    if (ini.Save(saved, previousBytes.startsWith(Utf8Bom)) < 0)
        return 0;

    QByteArray bytes = QByteArray::fromStdString(saved) + unattachedTrailingComments(previousBytes);
    // Keep the file's own line ends; the parser writes the platform's.
    if (previousBytes.contains("\r\n")) {
        bytes.replace("\r\n", "\n");
        bytes.replace("\n", "\r\n");
    }

    QSaveFile file(m_fullPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        m_errorString = file.errorString();
        return 0;
    }
    m_document->bytes = std::move(bytes);
    m_errorString.clear();
    return 1;
}
