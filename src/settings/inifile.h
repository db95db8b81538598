// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>

#include <memory>
#include <optional>

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
    IniFile(IniFile &&) noexcept;
    ~IniFile();

    // Registers the accessor when the current section is not blank.
    void setFullPath(const QString &path);
    QString fullPath() const;
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
    // Why the last PutString that touched the file failed; empty after a
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
    static std::optional<FileProblem> checkFile(const QString &path, const QString &section);
    static constexpr qint64 MaxFileBytes = 1024 * 1024;

private:
    struct Document;

    void reportUnregistered() const;
    // Sets the value in the document and replaces the file with it.
    qint16 save(const QByteArray &previousBytes, const QString &entryName, const QString &strValue);

    Prompter &m_prompter;
    // The file as this accessor last wrote it; see PutString.
    std::unique_ptr<Document> m_document;
    QString m_sectionName;
    QString m_fullPath;
    QString m_errorString;
    bool m_isRegistered = false;
};
