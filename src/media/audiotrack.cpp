// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/audiotrack.h"

#include "lang/form1messages.h"

#include <QLocale>
#include <QStringList>

QString AudioTrack::label(const LangDoc &doc) const
{
    QStringList parts;
    if (!language.isEmpty() && language != u"und") {
        // A known code reads as the language's own name; anything else as tagged.
        const QLocale::Language known = QLocale::codeToLanguage(language, QLocale::AnyLanguageCode);
        parts << (known == QLocale::AnyLanguage || known == QLocale::C ? language
                                                                        : QLocale(known).nativeLanguageName());
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
