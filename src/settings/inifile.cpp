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

#include <algorithm>
#include <string>

namespace {

// Far beyond any settings file; a larger file is not ours to rewrite, and
// the limit keeps a wrong path from loading something huge.
constexpr qint64 MaxFileBytes = IniFile::MaxFileBytes;
constexpr QByteArrayView Utf8Bom("\xEF\xBB\xBF");

struct FileContent
{
    std::optional<IniFile::FileProblem> problem;
    QByteArray bytes; // empty for a missing file
};

// Anything but a missing file or a regular UTF-8 text file is unfit: reads
// then give defaults and writes refuse, so a wrong path can neither hang on
// a device or pipe nor destroy a file that is not an INI file.
FileContent readFileContent(const QString &path)
{
    using FileProblem = IniFile::FileProblem;
    const QFileInfo info(path);
    if (!info.exists())
        return {};
    if (!info.isFile())
        return {FileProblem{FileProblem::Kind::NotRegularFile, {}}, {}};
    if (info.size() > MaxFileBytes)
        return {FileProblem{FileProblem::Kind::TooLarge, {}}, {}};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {FileProblem{FileProblem::Kind::CannotRead, file.errorString()}, {}};
    QByteArray bytes = file.read(MaxFileBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return {FileProblem{FileProblem::Kind::CannotRead, file.errorString()}, {}};
    if (bytes.size() > MaxFileBytes)
        return {FileProblem{FileProblem::Kind::TooLarge, {}}, {}};
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF"))
        return {FileProblem{FileProblem::Kind::Utf16, {}}, {}};
    // The parser stops at a NUL byte, so everything after one would be lost.
    if (bytes.contains('\0'))
        return {FileProblem{FileProblem::Kind::NulByte, {}}, {}};
    return {std::nullopt, std::move(bytes)};
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

struct IniFile::Document
{
    CSimpleIniA ini;
    QString path;
    QByteArray bytes;
};

IniFile::IniFile(Prompter &prompter, const QString &defaultPath)
    : m_prompter(&prompter)
    , m_sectionName(QStringLiteral("General"))
    , m_fullPath(defaultPath)
{
}

IniFile::IniFile(const QString &path)
    : m_sectionName(QStringLiteral("General"))
    , m_fullPath(path)
    , m_isRegistered(true)
{
}

IniFile::IniFile(IniFile &&) noexcept = default;
IniFile::~IniFile() = default;

void IniFile::setFullPath(const QString &path)
{
    m_fullPath = path;
    m_isRegistered = !m_sectionName.trimmed().isEmpty();
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
    if (m_prompter)
        m_prompter->warn(QStringLiteral("[Section] and FileName Not Registered in Private.Ini!"),
                         QStringLiteral("IniFile Logic Error"));
}

QString IniFile::GetString(const QString &entryName, const QString &defaultStr) const
{
    if (!m_isRegistered) {
        reportUnregistered();
        return {};
    }
    return values({entryName}).values.value(0).value_or(defaultStr);
}

IniFile::Values IniFile::values(const QStringList &entryNames) const
{
    Values result;
    if (!m_isRegistered) {
        reportUnregistered();
        return result;
    }
    result.values.resize(entryNames.size());
    if (!isUsableSection(m_sectionName))
        return result;
    FileContent content = readFileContent(m_fullPath);
    result.problem = std::move(content.problem);
    // A missing or blank file means the defaults.
    const qsizetype bomSize = content.bytes.startsWith(Utf8Bom) ? Utf8Bom.size() : 0;
    if (result.problem || QByteArrayView(content.bytes).sliced(bomSize).trimmed().isEmpty())
        return result;
    CSimpleIniA ini;
    const QByteArray section = m_sectionName.trimmed().toUtf8();
    if (!load(ini, content.bytes) || !ini.GetSection(section.constData())) {
        result.problem = FileProblem{FileProblem::Kind::NoSection, {}};
        return result;
    }
    for (qsizetype i = 0; i < entryNames.size(); ++i) {
        if (!isUsableKey(entryNames[i]))
            continue;
        const QByteArray key = entryNames[i].trimmed().toUtf8();
        if (const char *value = ini.GetValue(section.constData(), key.constData(), nullptr))
            result.values[i] = QString::fromUtf8(value);
    }
    return result;
}

qint16 IniFile::PutString(const QString &entryName, const QString &strValue)
{
    return setValues({{entryName, strValue}}) ? 1 : 0;
}

bool IniFile::setValues(const QList<std::pair<QString, QString>> &entries)
{
    if (!m_isRegistered) {
        reportUnregistered();
        return false;
    }
    const auto isWritable = [](const auto &entry) {
        return isUsableKey(entry.first) && !hasLineBreakOrNul(entry.second);
    };
    if (!isUsableSection(m_sectionName) || !std::all_of(entries.begin(), entries.end(), isWritable)) {
        m_errorString = QStringLiteral("a name or value cannot be written to an INI file");
        return false;
    }
    const FileContent content = readFileContent(m_fullPath);
    if (content.problem) {
        m_errorString = QStringLiteral("the file cannot be read");
        return false;
    }
    // The parser trims values on load, so reloading the file this accessor
    // has just written would strip the leading blank of the values it wrote
    // (" 44"). Its own document is reused while the file is unchanged.
    if (!m_document || m_document->path != m_fullPath || m_document->bytes != content.bytes) {
        auto document = std::make_unique<Document>();
        if (!load(document->ini, content.bytes)) {
            m_errorString = QStringLiteral("the file cannot be read");
            return false;
        }
        document->path = m_fullPath;
        m_document = std::move(document);
    }
    const bool saved = save(content.bytes, entries);
    if (!saved)
        m_document.reset();
    return saved;
}

bool IniFile::save(const QByteArray &previousBytes, const QList<std::pair<QString, QString>> &entries)
{
    CSimpleIniA &ini = m_document->ini;
    const QByteArray section = m_sectionName.trimmed().toUtf8();
    for (const auto &[entryName, strValue] : entries) {
        const QByteArray key = entryName.trimmed().toUtf8();
        const QByteArray value = strValue.toUtf8();
        if (ini.SetValue(section.constData(), key.constData(), value.constData()) < 0) {
            m_errorString = QStringLiteral("out of memory");
            return false;
        }
    }
    std::string saved;
    if (ini.Save(saved, previousBytes.startsWith(Utf8Bom)) < 0) {
        m_errorString = QStringLiteral("out of memory");
        return false;
    }

    QByteArray bytes = QByteArray::fromStdString(saved) + unattachedTrailingComments(previousBytes);
    // Keep the file's own line ends; the parser writes the platform's.
    if (previousBytes.contains("\r\n")) {
        bytes.replace("\r\n", "\n");
        bytes.replace("\n", "\r\n");
    }

    QSaveFile file(m_fullPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        m_errorString = file.errorString();
        return false;
    }
    m_document->bytes = std::move(bytes);
    m_errorString.clear();
    return true;
}
