// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "lang/languagefile.h"

#include <QFile>
#include <QSaveFile>
#include <QSet>

#include <pugixml.hpp>

#include <utility>

namespace {

QString text(const pugi::char_t *value)
{
    return QString::fromUtf8(value);
}

class ByteWriter : public pugi::xml_writer
{
public:
    QByteArray bytes;
    void write(const void *data, size_t size) override
    {
        bytes.append(static_cast<const char *>(data), qsizetype(size));
    }
};

} // namespace

LanguageFile::LanguageFile() : m_document(std::make_unique<pugi::xml_document>()) {}

LanguageFile::~LanguageFile() = default;

void LanguageFile::swap(LanguageFile &other) noexcept
{
    std::swap(m_document, other.m_document);
}

bool LanguageFile::load(const QString &path, QString &error)
{
    m_document->reset();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return false;
    }
    const QByteArray data = file.readAll();
    const unsigned int options = pugi::parse_default | pugi::parse_comments | pugi::parse_declaration;
    const pugi::xml_parse_result result =
        m_document->load_buffer(data.constData(), size_t(data.size()), options, pugi::encoding_auto);
    if (!result || !m_document->document_element()) {
        m_document->reset();
        if (result.status == pugi::status_ok || result.status == pugi::status_no_document_element) {
            error = QStringLiteral("no root element");
        } else {
            const qsizetype offset = qBound(qsizetype(0), qsizetype(result.offset), data.size());
            const qsizetype line = data.left(offset).count('\n') + 1;
            error = u"%1 at line %2 (byte %3)"_qs.arg(text(result.description()), QString::number(line),
                                                      QString::number(offset));
        }
        return false;
    }
    return true;
}

bool LanguageFile::save(const QString &path, QString &error)
{
    // Always written as UTF-8, so a declaration naming another encoding
    // would make the saved file read back wrongly.
    for (pugi::xml_node node = m_document->first_child(); node; node = node.next_sibling()) {
        if (node.type() == pugi::node_declaration) {
            pugi::xml_attribute encoding = node.attribute("encoding");
            if (encoding)
                encoding.set_value("UTF-8");
        }
    }
    ByteWriter writer;
    // Each attribute on its own line, as in the files shipped with the program.
    m_document->save(writer, "  ", pugi::format_indent_attributes, pugi::encoding_utf8);

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(writer.bytes) != writer.bytes.size() || !file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}

bool LanguageFile::isEmpty() const
{
    return !m_document->document_element();
}

LanguageFile::Rows LanguageFile::rows() const
{
    Rows result;
    const pugi::xml_node root = m_document->document_element();
    if (!root)
        return result;
    result.rows.push_back({-1, {}, text(root.name()), false});

    QSet<QString> keys;
    struct Open
    {
        pugi::xml_node element;
        int row;
        pugi::xml_node next; // the next child to look at
    };
    // Our own stack rather than recursion: a file nested thousands of
    // levels deep must not overflow the call stack.
    std::vector<Open> open{{root, 0, root.first_child()}};
    while (!open.empty()) {
        pugi::xml_node child = open.back().next;
        while (child && child.type() != pugi::node_element)
            child = child.next_sibling();
        if (child) {
            open.back().next = child.next_sibling();
            const QString name = text(child.name());
            if (keys.contains(name)) {
                result.leftOut << name;
                continue;
            }
            keys.insert(name);
            const int row = int(result.rows.size());
            result.rows.push_back({open.back().row, name, name, false});
            open.push_back({child, row, child.first_child()});
            continue;
        }
        // The root's own attributes are not shown; every other element's
        // follow its children.
        const Open done = open.back();
        open.pop_back();
        if (done.row == 0)
            continue;
        const QString parentText = result.rows[size_t(done.row)].text;
        for (const pugi::xml_attribute &attribute : done.element.attributes()) {
            const QString name = text(attribute.name());
            const QString key = parentText + name;
            if (keys.contains(key)) {
                result.leftOut << key;
                continue;
            }
            keys.insert(key);
            result.rows.push_back({done.row, key, name + u" = " + text(attribute.value()), true});
        }
    }
    result.leftOut.removeDuplicates();
    return result;
}

bool LanguageFile::WriteAttribute(QStringView section, QStringView attribute, const QString &value)
{
    const pugi::xml_node element = m_document->document_element().child(section.toUtf8().constData());
    pugi::xml_attribute found = element.attribute(attribute.toUtf8().constData());
    return found && found.set_value(value.toUtf8().constData());
}

bool LanguageFile::createSection(QStringView section)
{
    pugi::xml_node root = m_document->document_element();
    const QByteArray name = section.toUtf8();
    if (!root || root.child(name.constData()))
        return false;
    return bool(root.append_child(name.constData()));
}

bool LanguageFile::createAttribute(QStringView section, QStringView attribute, const QString &value)
{
    pugi::xml_node element = m_document->document_element().child(section.toUtf8().constData());
    const QByteArray name = attribute.toUtf8();
    if (!element || element.attribute(name.constData()))
        return false;
    return element.append_attribute(name.constData()).set_value(value.toUtf8().constData());
}

void LanguageFile::setCreator(const QString &creator)
{
    if (WriteAttribute(u"Private", u"Creator", creator))
        return;
    pugi::xml_node root = m_document->document_element();
    if (!root)
        return;
    pugi::xml_node privateSection = root.child("Private");
    if (!privateSection)
        privateSection = root.prepend_child("Private");
    privateSection.append_attribute("Creator").set_value(creator.toUtf8().constData());
}
