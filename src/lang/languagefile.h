// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <memory>
#include <vector>

namespace pugi {
class xml_document;
}

// A language file opened for editing: element and attribute order, comments
// and the XML declaration survive a load and save, so a translator's file
// stays comparable with the one it was made from.
class LanguageFile
{
public:
    // One row of the file as the language-file creator shows it.
    struct Row
    {
        int parent = -1;  // index of the parent row; -1 for the root
        QString key;      // empty for the root; unique among the rows
        QString text;     // element name, or "name = value" for an attribute
        bool isAttribute = false;
    };

    struct Rows
    {
        std::vector<Row> rows;   // in document order, attributes after their element's children
        QStringList leftOut;     // keys seen a second time and not shown
    };

    LanguageFile();
    ~LanguageFile();
    LanguageFile(const LanguageFile &) = delete;
    LanguageFile &operator=(const LanguageFile &) = delete;
    void swap(LanguageFile &other) noexcept;

    // On failure the document is left empty and error says why.
    bool load(const QString &path, QString &error);
    // Written as UTF-8 through a temporary file, so a failure leaves any
    // earlier file at path as it was.
    bool save(const QString &path, QString &error);
    bool isEmpty() const;

    Rows rows() const;

    // Sets attribute of the root's child element section; false, and
    // nothing changed, when either is missing.
    bool WriteAttribute(QStringView section, QStringView attribute, const QString &value);
    // Appends a section element as the root's last child; false when one of
    // that name exists already.
    bool createSection(QStringView section);
    // Appends an attribute to an existing section; false when the section is
    // missing or already has it, since a repeated attribute breaks the file.
    bool createAttribute(QStringView section, QStringView attribute, const QString &value);
    // The translator's name, in attribute Creator of the Private section,
    // which is made the root's first child when there is none.
    void setCreator(const QString &creator);

private:
    std::unique_ptr<pugi::xml_document> m_document;
};
