// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <memory>
#include <optional>
#include <utility>

class Prompter;

// An accessor for the text values of one section of one INI file. It holds
// no open file: every read loads the file afresh and every write replaces it
// whole through a temporary file, so a crash never leaves half a file.
class IniFile
{
public:
    // Points at defaultPath with the section "General", but stays
    // unregistered (refusing reads and writes) until setFullPath or
    // setSectionName is called.
    IniFile(Prompter &prompter, const QString &defaultPath);
    // Registered at once on path and the section "General", so it has
    // nothing to report.
    explicit IniFile(const QString &path);
    IniFile(IniFile &&) noexcept;
    ~IniFile();

    // Registers the accessor when the current section is not blank.
    void setFullPath(const QString &path);
    // Registers the accessor exactly when section is not blank.
    void setSectionName(const QString &section);
    QString sectionName() const;
    bool isRegistered() const;

    // The value of entryName with surrounding blanks removed; defaultStr when
    // the file or the key is missing or the file cannot be read. A key with
    // an empty value gives the empty text. Unregistered: an error notice and
    // the empty text.
    QString GetString(const QString &entryName, const QString &defaultStr) const;
    // Writes the value in place of the key's old one, or at the end of the
    // section, creating the file and section as needed; everything else in
    // the file is kept. Non-zero on success, 0 on failure (nothing written).
    // Unregistered: an error notice and 0.
    qint16 PutString(const QString &entryName, const QString &strValue);
    // Why the last write that touched the file failed; empty after a
    // success.
    QString errorString() const { return m_errorString; }

    // What makes an existing file unfit to be read as settings: not a
    // regular file, unreadable, too large, NUL bytes, UTF-16, or text without
    // the section. A missing or blank file is fit (it means the defaults).
    struct FileProblem
    {
        enum class Kind { NotRegularFile, CannotRead, TooLarge, NulByte, Utf16, NoSection };
        Kind kind;
        QString reason; // the system's words, for CannotRead
    };
    static constexpr qint64 MaxFileBytes = 1024 * 1024;

    struct Values
    {
        std::optional<FileProblem> problem; // the file is unfit: no values
        QList<std::optional<QString>> values; // one per name asked, as GetString reads it; none when absent
    };
    // The values of entryNames from one read of the file. Unregistered: an
    // error notice and no values.
    Values values(const QStringList &entryNames) const;
    // Writes every entry as PutString does, in one replacement of the file:
    // all of them or, on failure, none. Unregistered: an error notice.
    bool setValues(const QList<std::pair<QString, QString>> &entries);

private:
    struct Document;

    void reportUnregistered() const;
    // Sets the values in the document and replaces the file with it.
    bool save(const QByteArray &previousBytes, const QList<std::pair<QString, QString>> &entries);

    Prompter *m_prompter = nullptr;
    // The file as this accessor last wrote it; see PutString.
    std::unique_ptr<Document> m_document;
    QString m_sectionName;
    QString m_fullPath;
    QString m_errorString;
    bool m_isRegistered = false;
};
