// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/audiotrack.h"

#include "lang/form1messages.h"

#include <QHash>
#include <QLocale>
#include <QStringList>

namespace {

// The language's own name without a country: a file tagged "eng" names
// English, not "American English", which is only the name of en_US. The
// name most of the language's locales share, the default locale's on a tie.
QString languageName(QLocale::Language language)
{
    const QString usual = QLocale(language).nativeLanguageName();
    QHash<QString, int> counts;
    for (const QLocale &locale : QLocale::matchingLocales(language, QLocale::AnyScript, QLocale::AnyTerritory))
        ++counts[locale.nativeLanguageName()];
    QString best = usual;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (!it.key().isEmpty() && it.value() > counts.value(best))
            best = it.key();
    }
    return best;
}

} // namespace

QString AudioTrack::label(const LangDoc &doc) const
{
    QStringList parts;
    if (!language.isEmpty() && language != u"und") {
        // A known code reads as the language's own name; anything else as tagged.
        const QLocale::Language known = QLocale::codeToLanguage(language, QLocale::AnyLanguageCode);
        parts << (known == QLocale::AnyLanguage || known == QLocale::C ? language : languageName(known));
    }
    QString format = codec;
    const QString layout = channelLayout.isEmpty() && channels > 0 ? QString::number(channels) : channelLayout;
    if (!layout.isEmpty())
        format += (format.isEmpty() ? QString() : QStringLiteral(" ")) + layout;
    if (!format.isEmpty())
        parts << format;
    if (!title.isEmpty())
        parts << title;
    const QString name = GetLangText(doc, Form1Msg::MediaTrack).arg(number);
    return parts.isEmpty() ? name : name + QStringLiteral(": ") + parts.join(QStringLiteral(", "));
}
