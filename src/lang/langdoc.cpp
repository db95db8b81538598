// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "lang/langdoc.h"

#include <QFile>
#include <QFileInfo>

#include <pugixml.hpp>

#include <utility>

LangDoc::LangDoc() : m_document(std::make_unique<pugi::xml_document>()) {}

LangDoc::~LangDoc() = default;

LangDoc &LangDoc::operator=(LangDoc &&other) noexcept
{
    std::swap(m_document, other.m_document);
    std::swap(m_errorString, other.m_errorString);
    return *this;
}

namespace {

// Code points in UTF-8 text: every byte but the continuation bytes.
qsizetype utf8Length(const char *text)
{
    qsizetype length = 0;
    for (; *text; ++text)
        length += (static_cast<unsigned char>(*text) & 0xC0) != 0x80;
    return length;
}

// The first attribute, in document order, whose value is longer than limit.
// Walked without recursion: a hostile file may nest elements very deeply.
pugi::xml_attribute firstTooLong(const pugi::xml_document &document, qsizetype limit)
{
    pugi::xml_node node = document.first_child();
    while (node) {
        for (const pugi::xml_attribute &attribute : node.attributes()) {
            if (utf8Length(attribute.value()) > limit)
                return attribute;
        }
        if (node.first_child()) {
            node = node.first_child();
            continue;
        }
        while (node && !node.next_sibling())
            node = node.parent();
        if (node)
            node = node.next_sibling();
    }
    return {};
}

} // namespace

bool LangDoc::load(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return fail(info.exists() ? QStringLiteral("not a regular file") : QStringLiteral("the file does not exist"));
    if (info.size() > MaxFileBytes)
        return fail(QStringLiteral("the file is larger than %1 bytes").arg(MaxFileBytes));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(file.errorString());
    const QByteArray bytes = file.read(MaxFileBytes + 1);
    if (bytes.size() > MaxFileBytes)
        return fail(QStringLiteral("the file is larger than %1 bytes").arg(MaxFileBytes));
    return loadData(bytes);
}

bool LangDoc::loadData(QByteArrayView xml)
{
    // pugixml detects the encoding from the byte-order mark and the XML
    // declaration; attribute order is kept for the language-file creator.
    const pugi::xml_parse_result result = m_document->load_buffer(
        xml.data(), size_t(xml.size()), pugi::parse_default, pugi::encoding_auto);
    if (!result)
        return fail(QStringLiteral("not a valid XML file (%1 at byte %2)")
                        .arg(QString::fromUtf8(result.description()))
                        .arg(result.offset));
    if (const pugi::xml_attribute tooLong = firstTooLong(*m_document, MaxTextCharacters))
        return fail(QStringLiteral("the text %1 is longer than %2 characters")
                        .arg(QString::fromUtf8(tooLong.name()))
                        .arg(MaxTextCharacters));
    m_errorString.clear();
    return true;
}

bool LangDoc::fail(const QString &reason)
{
    clear();
    m_errorString = reason;
    return false;
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
