// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/weakwordfiles.h"

#include "document/unicodetext.h"
#include "lang/form1messages.h"

#include <QDir>
#include <QFile>

#include <algorithm>

namespace {

const QString FileSuffix = QStringLiteral(".weakwords.txt");
// Far more than any word list needs.
constexpr qint64 MaxFileBytes = 1 << 20;

// The file's words, or the reason it cannot be used.
std::optional<QString> readWords(const QString &path, const LangDoc &lang, WeakWordList &list)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return GetLangText(lang, Form1Msg::CannotRead).arg(file.errorString());
    if (file.size() > MaxFileBytes)
        return GetLangText(lang, Form1Msg::TooLarge).arg(file.size());
    QByteArray bytes = file.readAll();
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    const Utf8Check check = checkUtf8Text(bytes);
    if (check.result != Utf8Check::Result::Valid)
        return GetLangText(lang, Form1Msg::InvalidUtf8).arg(check.offset);

    std::u32string line;
    std::u32string word;
    for (const QByteArray &bytesOfLine : bytes.split('\n')) {
        QByteArrayView view(bytesOfLine);
        if (const qsizetype comment = view.indexOf('#'); comment >= 0)
            view = view.first(comment);
        view = view.trimmed();
        if (view.isEmpty())
            continue;
        line.clear();
        appendUtf8(line, view);
        word.clear();
        foldWord(line, word);
        list.words.insert(word);
    }
    return std::nullopt;
}

} // namespace

WeakWordLists loadWeakWordLists(const QStringList &folders, const LangDoc &lang, QStringList &problems)
{
    WeakWordLists lists;
    for (const QString &folder : folders) {
        const QDir dir(folder);
        for (const QString &name : dir.entryList({QLatin1Char('*') + FileSuffix}, QDir::Files, QDir::Name)) {
            const QString language = name.chopped(FileSuffix.size());
            const bool known = std::any_of(lists.begin(), lists.end(),
                                           [&](const WeakWordList &list) { return list.language == language; });
            if (language.isEmpty() || known)
                continue;
            WeakWordList list{language, {}};
            if (const std::optional<QString> problem = readWords(dir.filePath(name), lang, list))
                problems << dir.filePath(name) + QStringLiteral(": ") + *problem;
            else
                lists.push_back(std::move(list));
        }
    }
    return lists;
}
