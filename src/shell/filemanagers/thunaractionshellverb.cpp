// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/filemanagers/thunaractionshellverb.h"

#include "shell/filemanagers/verbtext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <pugixml.hpp>

#include <cstring>

namespace {

// Far beyond any list of actions a person keeps; a larger file is not read.
constexpr qint64 MaximumActionsBytes = 4 * 1024 * 1024;
constexpr const char *UniqueId = "quillmend-correct-subtitles";
// Everything is kept, white space included, so the user's part of the file
// is written back as it was read.
constexpr unsigned ParseOptions = pugi::parse_default | pugi::parse_declaration | pugi::parse_doctype
    | pugi::parse_comments | pugi::parse_pi | pugi::parse_ws_pcdata;

class ByteWriter : public pugi::xml_writer
{
public:
    void write(const void *data, size_t size) override
    {
        bytes.append(static_cast<const char *>(data), qsizetype(size));
    }
    QByteArray bytes;
};

void setError(QString *errorText, const QString &text)
{
    if (errorText)
        *errorText = text;
}

// Loads path; an empty text when it is a list of actions, else what is wrong.
QString load(const QString &path, pugi::xml_document &document)
{
    const QFileInfo info(path);
    QFile file(path);
    if (!info.isFile())
        return QStringLiteral("it is not a file");
    if (info.size() > MaximumActionsBytes)
        return QStringLiteral("it is larger than 4 MiB");
    if (!file.open(QIODevice::ReadOnly))
        return file.errorString();
    const QByteArray content = file.read(MaximumActionsBytes);
    const pugi::xml_parse_result result =
        document.load_buffer(content.constData(), size_t(content.size()), ParseOptions, pugi::encoding_utf8);
    if (!result)
        return QStringLiteral("%1 at byte %2").arg(QString::fromUtf8(result.description())).arg(result.offset);
    if (std::strcmp(document.document_element().name(), "actions") != 0)
        return QStringLiteral("its root element is not <actions>");
    return {};
}

bool isBlank(const pugi::xml_node &node)
{
    return node.type() == pugi::node_pcdata && QByteArray(node.value()).trimmed().isEmpty();
}

pugi::xml_node ourAction(const pugi::xml_node &actions)
{
    return actions.find_child([](const pugi::xml_node &node) {
        return std::strcmp(node.name(), "action") == 0 && std::strcmp(node.child_value("unique-id"), UniqueId) == 0;
    });
}

// Appends the action after the user's, indented as Thunar writes its own,
// with a line break before it that removeActions() takes away with it.
void appendAction(pugi::xml_node actions, const QString &command)
{
    const pugi::xml_node last = actions.last_child();
    const pugi::xml_node before = isBlank(last) ? last : pugi::xml_node();
    const auto insert = [&](pugi::xml_node_type type) {
        return before ? actions.insert_child_before(type, before) : actions.append_child(type);
    };
    insert(pugi::node_pcdata).set_value("\n");
    pugi::xml_node action = insert(pugi::node_element);
    action.set_name("action");
    const QByteArray texts[][2] = {{"icon", "quillmend"},
                                   {"name", verbMenuText().toUtf8()},
                                   {"unique-id", UniqueId},
                                   {"command", command.toUtf8()},
                                   {"description", verbComment().toUtf8()},
                                   {"patterns", "*.srt;*.SRT"},
                                   {"other-files", {}},
                                   {"text-files", {}}};
    for (const auto &[name, text] : texts) {
        action.append_child(pugi::node_pcdata).set_value("\n\t");
        pugi::xml_node element = action.append_child(name.constData());
        if (!text.isEmpty())
            element.text().set(text.constData());
    }
    action.append_child(pugi::node_pcdata).set_value("\n");
}

void removeActions(pugi::xml_node actions)
{
    while (const pugi::xml_node action = ourAction(actions)) {
        if (isBlank(action.previous_sibling()))
            actions.remove_child(action.previous_sibling());
        actions.remove_child(action);
    }
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
    pugi::xml_document document;
    return QFileInfo::exists(actionsPath()) && load(actionsPath(), document).isEmpty()
        && ourAction(document.document_element());
}

bool ThunarActionShellVerb::SetShellVerb(bool add, QString *errorText)
{
    const QString path = QDir::toNativeSeparators(actionsPath());
    const QString failed = add ? QStringLiteral("Could not add the \"Correct subtitles\" verb: ")
                               : QStringLiteral("Could not remove the \"Correct subtitles\" verb: ");
    pugi::xml_document document;
    const QFileInfo info(actionsPath());
    if (info.exists() || info.isSymLink()) {
        const QString problem = load(actionsPath(), document);
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
            seeded = seeded || load(QDir(folder).filePath(QStringLiteral("Thunar/uca.xml")), document).isEmpty();
        if (!seeded)
            document.load_string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<actions>\n</actions>\n", ParseOptions);
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
    if (add)
        appendAction(actions, percentShellWord(m_executablePath) + QStringLiteral(" /auto %f"));
    else
        removeActions(actions);

    // The parser keeps no white space between the top-level nodes; Thunar
    // writes each on a line of its own.
    ByteWriter writer;
    for (const pugi::xml_node &node : document.children()) {
        node.print(writer, "", pugi::format_raw, pugi::encoding_utf8);
        writer.write("\n", 1);
    }
    const QString folder = QFileInfo(actionsPath()).absolutePath();
    if (!QDir().mkpath(folder)) {
        setError(errorText, QStringLiteral("Could not write %1: the folder %2 could not be created.")
                                .arg(path, QDir::toNativeSeparators(folder)));
        return false;
    }
    QSaveFile file(actionsPath());
    if (!file.open(QIODevice::WriteOnly) || file.write(writer.bytes) != writer.bytes.size() || !file.commit()) {
        setError(errorText, QStringLiteral("Could not write %1: %2").arg(path, file.errorString()));
        return false;
    }
    return true;
}
