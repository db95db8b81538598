// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "lang/langdoc.h"

#include <QFile>

#include <pugixml.hpp>

LangDoc::LangDoc() : m_document(std::make_unique<pugi::xml_document>()) {}

LangDoc::~LangDoc() = default;

bool LangDoc::load(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        clear();
        return false;
    }
    return loadData(file.readAll());
}

bool LangDoc::loadData(QByteArrayView xml)
{
    // pugixml detects the encoding from the byte-order mark and the XML
    // declaration; attribute order is kept for the language-file creator.
    const pugi::xml_parse_result result = m_document->load_buffer(
        xml.data(), size_t(xml.size()), pugi::parse_default, pugi::encoding_auto);
    if (!result) {
        clear();
        return false;
    }
    return true;
}

void LangDoc::clear()
{
    m_document->reset();
}

bool LangDoc::isEmpty() const
{
    return !m_document->document_element();
}

std::optional<QString> LangDoc::attribute(QStringView element, QStringView attribute) const
{
    const pugi::xml_node root = m_document->document_element();
    if (!root)
        return std::nullopt;
    const pugi::xml_node child = root.child(element.toUtf8().constData());
    if (!child)
        return std::nullopt;
    const pugi::xml_attribute found = child.attribute(attribute.toUtf8().constData());
    if (!found)
        return std::nullopt;
    return QString::fromUtf8(found.value());
}

const pugi::xml_document &LangDoc::document() const
{
    return *m_document;
}
