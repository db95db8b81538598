// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/filemanagers/thunaractionshellverb.h"

#include "shell/filemanagers/verbtext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <pugixml.hpp>

#include <algorithm>
#include <cstring>
#include <optional>
#include <utility>
#include <vector>

namespace {

// Far beyond any list of actions a person keeps; a larger file is not read.
constexpr qint64 MaximumActionsBytes = 4 * 1024 * 1024;
constexpr const char *UniqueId = "quillmend-correct-subtitles";
// Thunar matches these against the file name as GLib's simple patterns: "*"
// and "?" only, no letter classes, and the letter case counts.
constexpr const char *Patterns = "*.srt;*.srT;*.sRt;*.sRT;*.Srt;*.SrT;*.SRt;*.SRT;"
                                  "*.vtt;*.vtT;*.vTt;*.vTT;*.Vtt;*.VtT;*.VTt;*.VTT";
// Every node is kept, blanks between elements included, so that each one
// knows where it starts in the file and nodes follow each other without gaps.
constexpr unsigned ParseOptions = pugi::parse_default | pugi::parse_declaration | pugi::parse_doctype
    | pugi::parse_comments | pugi::parse_pi | pugi::parse_ws_pcdata;

void setError(QString *errorText, const QString &text)
{
    if (errorText)
        *errorText = text;
}

// Parses content; an empty text when it is a list of actions, else what is wrong.
QString parse(const QByteArray &content, pugi::xml_document &document)
{
    const pugi::xml_parse_result result =
        document.load_buffer(content.constData(), size_t(content.size()), ParseOptions, pugi::encoding_utf8);
    if (!result)
        return QStringLiteral("%1 at byte %2").arg(QString::fromUtf8(result.description())).arg(result.offset);
    if (std::strcmp(document.document_element().name(), "actions") != 0)
        return QStringLiteral("its root element is not <actions>");
    return {};
}

// Reads and parses path; an empty text when it is a list of actions.
QString load(const QString &path, QByteArray &content, pugi::xml_document &document)
{
    const QFileInfo info(path);
    QFile file(path);
    if (!info.isFile())
        return QStringLiteral("it is not a file");
    if (info.size() > MaximumActionsBytes)
        return QStringLiteral("it is larger than 4 MiB");
    if (!file.open(QIODevice::ReadOnly))
        return file.errorString();
    content = file.read(MaximumActionsBytes);
    return parse(content, document);
}

bool isBlank(const pugi::xml_node &node)
{
    return node.type() == pugi::node_pcdata && QByteArray(node.value()).trimmed().isEmpty();
}

bool isOurs(const pugi::xml_node &node)
{
    return std::strcmp(node.name(), "action") == 0 && std::strcmp(node.child_value("unique-id"), UniqueId) == 0;
}

pugi::xml_node ourAction(const pugi::xml_node &actions)
{
    return actions.find_child(isOurs);
}

qsizetype userActionCount(const pugi::xml_node &actions)
{
    const auto children = actions.children("action");
    return std::count_if(children.begin(), children.end(), [](const pugi::xml_node &node) { return !isOurs(node); });
}

// Where the markup of a parsed node starts in the bytes it came from, or a
// negative number when that is not known; pugixml gives the offset of the
// node's name or value.
qsizetype markupStart(const pugi::xml_node &node)
{
    const qsizetype offset = node.offset_debug();
    if (offset < 0)
        return -1;
    switch (node.type()) {
    case pugi::node_element:
        return offset - 1; // "<"
    case pugi::node_declaration:
    case pugi::node_pi:
        return offset - 2; // "<?"
    case pugi::node_comment:
        return offset - 4; // "<!--"
    case pugi::node_cdata:
        return offset - 9; // "<![CDATA["
    default:
        return offset;
    }
}

// Where the list's end tag starts, or a negative number for a list written
// as one empty-element tag: only blanks lie between it and the next node.
qsizetype endTagStart(const pugi::xml_node &actions, const QByteArray &content)
{
    const pugi::xml_node next = actions.next_sibling();
    const qsizetype end = content.lastIndexOf("</", next ? markupStart(next) : content.size());
    return end > markupStart(actions) ? end : -1;
}

// The blanks after the last line break in node, if it is such a blank.
std::optional<QByteArray> indentAfter(const pugi::xml_node &node)
{
    const QByteArray text = node.value();
    if (!isBlank(node) || !text.contains('\n'))
        return std::nullopt;
    return text.mid(text.lastIndexOf('\n') + 1);
}

// Our action as Thunar writes its own, indented as the last action is, with
// the line break before it that removing takes away again.
QByteArray actionText(const pugi::xml_node &actions, const QString &command)
{
    pugi::xml_node last;
    for (const pugi::xml_node &node : actions.children("action"))
        last = node;
    const QByteArray indent = indentAfter(last.previous_sibling()).value_or(QByteArray());
    const QByteArray childIndent = indentAfter(last.first_child()).value_or(indent + '\t');
    const QByteArray texts[][2] = {{"icon", "quillmend"},
                                   {"name", verbMenuText().toUtf8()},
                                   {"unique-id", UniqueId},
                                   {"command", command.toHtmlEscaped().toUtf8()},
                                   {"description", verbComment().toUtf8()},
                                   {"patterns", Patterns},
                                   {"other-files", {}},
                                   {"text-files", {}}};
    QByteArray text = '\n' + indent + "<action>";
    for (const auto &[name, value] : texts) {
        text += '\n' + childIndent + '<' + name;
        text += value.isEmpty() ? QByteArray("/>") : '>' + value + "</" + name + '>';
    }
    return text + '\n' + indent + "</action>";
}

// Adds our action after the others, changing no byte of the rest. False
// when there is no place for it: the offsets are not known, or the list is
// written as "<actions/>", which only a hand makes.
bool addAction(const pugi::xml_node &actions, const QString &command, QByteArray &content)
{
    const pugi::xml_node last = actions.last_child();
    const qsizetype at = isBlank(last) ? markupStart(last) : endTagStart(actions, content);
    if (at >= 0)
        content.insert(at, actionText(actions, command));
    return at >= 0;
}

// Cuts out each of our actions with the blanks before it, from the back so
// that the offsets still hold. False when the file's offsets are not known.
bool removeActions(const pugi::xml_node &actions, QByteArray &content)
{
    std::vector<std::pair<qsizetype, qsizetype>> spans;
    for (const pugi::xml_node &node : actions.children("action")) {
        if (!isOurs(node))
            continue;
        const pugi::xml_node before = node.previous_sibling();
        const qsizetype start = markupStart(isBlank(before) ? before : node);
        const qsizetype end = node.next_sibling() ? markupStart(node.next_sibling()) : endTagStart(actions, content);
        if (start < 0 || end < start)
            return false;
        spans.emplace_back(start, end);
    }
    for (auto span = spans.rbegin(); span != spans.rend(); ++span)
        content.remove(span->first, span->second - span->first);
    return true;
}

} // namespace

ThunarActionShellVerb::ThunarActionShellVerb(const QString &executablePath, const QString &configFolder,
                                             const QStringList &systemConfigFolders)
    : m_executablePath(executablePath), m_configFolder(configFolder), m_systemConfigFolders(systemConfigFolders)
{
}

QString ThunarActionShellVerb::actionsPath() const
{
    return QDir(m_configFolder).filePath(QStringLiteral("Thunar/uca.xml"));
}

bool ThunarActionShellVerb::IsShellVerbRegistered()
{
    QByteArray content;
    pugi::xml_document document;
    return QFileInfo::exists(actionsPath()) && load(actionsPath(), content, document).isEmpty()
        && ourAction(document.document_element());
}

bool ThunarActionShellVerb::SetShellVerb(bool add, QString *errorText)
{
    const QString path = QDir::toNativeSeparators(actionsPath());
    const QString failed = add ? QStringLiteral("Could not add the \"Correct subtitles\" verb: ")
                               : QStringLiteral("Could not remove the \"Correct subtitles\" verb: ");
    QByteArray content;
    pugi::xml_document document;
    const QFileInfo info(actionsPath());
    if (info.exists() || info.isSymLink()) {
        const QString problem = load(actionsPath(), content, document);
        if (!problem.isEmpty()) {
            setError(errorText, failed + QStringLiteral("%1 cannot be read as Thunar's custom actions (%2); it was "
                                                        "left as it is.")
                                             .arg(path, problem));
            return false;
        }
    } else {
        if (!add)
            return true;
        // The user's file replaces the system's list, so it starts as a copy.
        bool seeded = false;
        for (const QString &folder : m_systemConfigFolders)
            seeded = seeded
                || load(QDir(folder).filePath(QStringLiteral("Thunar/uca.xml")), content, document).isEmpty();
        if (!seeded) {
            content = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<actions>\n</actions>\n";
            parse(content, document);
        }
    }

    const pugi::xml_node actions = document.document_element();
    if (add == bool(ourAction(actions)))
        return true;
    if (add && !isCarriablePath(m_executablePath)) {
        setError(errorText, failed + QStringLiteral("the program's path %1 cannot be written in Thunar's custom "
                                                    "actions (it is not UTF-8 text or holds a control character).")
                                         .arg(m_executablePath));
        return false;
    }
    // Only our action's bytes change: Thunar's file is kept as Thunar wrote
    // it, which a round trip through the parser would not do. The result is
    // read back before it replaces anything.
    const QString command = percentShellWord(m_executablePath) + QStringLiteral(" /auto %f");
    const bool edited = add ? addAction(actions, command, content) : removeActions(actions, content);
    pugi::xml_document result;
    if (!edited || !parse(content, result).isEmpty() || add != bool(ourAction(result.document_element()))
        || userActionCount(result.document_element()) != userActionCount(actions)) {
        setError(errorText, failed + QStringLiteral("%1 could not be changed without rewriting the rest of it; it was "
                                                    "left as it is.")
                                         .arg(path));
        return false;
    }

    const QString folder = QFileInfo(actionsPath()).absolutePath();
    if (!QDir().mkpath(folder)) {
        setError(errorText, QStringLiteral("Could not write %1: the folder %2 could not be created.")
                                .arg(path, QDir::toNativeSeparators(folder)));
        return false;
    }
    QSaveFile file(actionsPath());
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() || !file.commit()) {
        setError(errorText, QStringLiteral("Could not write %1: %2").arg(path, file.errorString()));
        return false;
    }
    return true;
}
