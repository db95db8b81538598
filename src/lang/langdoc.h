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

    // Replaces the content with the file at path. A file that is missing or
    // does not parse leaves the document empty and returns false.
    bool load(const QString &path);
    bool loadData(QByteArrayView xml);
    void clear();
    bool isEmpty() const;

    // The value of attribute in the root's child element named element;
    // no value when either is missing.
    std::optional<QString> attribute(QStringView element, QStringView attribute) const;

    const pugi::xml_document &document() const;

private:
    std::unique_ptr<pugi::xml_document> m_document;
};
