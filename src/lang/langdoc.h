// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <memory>
#include <optional>

namespace pugi {
class xml_document;
}

// The language document of the process: one XML language file, or nothing,
// in which case every lookup falls back to English.
class LangDoc
{
public:
    LangDoc();
    ~LangDoc();
    LangDoc(const LangDoc &) = delete;
    LangDoc &operator=(const LangDoc &) = delete;
    // Takes other's document, so a file tried on its own is not read twice.
    LangDoc &operator=(LangDoc &&other) noexcept;

    // Language files and their texts are small; anything larger is refused,
    // so a wrong or hostile file cannot stall the start for minutes.
    static constexpr qint64 MaxFileBytes = 4 * 1024 * 1024;
    static constexpr qsizetype MaxTextCharacters = 4096;

    // Replaces the content with the file at path. A file that is missing, is
    // not a regular file, is too large, does not parse or holds a text too
    // long leaves the document empty and returns false; errorString() then
    // says why.
    bool load(const QString &path);
    bool loadData(QByteArrayView xml);
    void clear();
    bool isEmpty() const;
    // Why the last load failed, in English; empty after a success.
    QString errorString() const { return m_errorString; }

    // The value of attribute in the root's child element named element;
    // no value when either is missing.
    std::optional<QString> attribute(QStringView element, QStringView attribute) const;

    const pugi::xml_document &document() const;

private:
    bool fail(const QString &reason);

    std::unique_ptr<pugi::xml_document> m_document;
    QString m_errorString;
};
