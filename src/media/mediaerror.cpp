// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/mediaerror.h"

#include "lang/form1messages.h"

#include <QFile>
#include <QFileInfo>

QString MediaError::describe(const LangDoc &doc) const
{
    const auto cannotOpen = [&](const QString &detail) {
        return GetLangText(doc, Form1Msg::MediaCannotOpen).arg(path, detail);
    };
    switch (kind) {
    case Kind::None:
    case Kind::Cancelled:
        return {};
    case Kind::Missing:
        return cannotOpen(GetLangText(doc, Form1Msg::MediaMissing));
    case Kind::NotRegularFile:
        return cannotOpen(GetLangText(doc, Form1Msg::NotRegularFile));
    case Kind::Empty:
        return cannotOpen(GetLangText(doc, Form1Msg::MediaEmpty));
    case Kind::CannotRead:
        return cannotOpen(GetLangText(doc, Form1Msg::CannotRead).arg(reason));
    case Kind::NotMedia:
        return cannotOpen(GetLangText(doc, Form1Msg::MediaNotMedia));
    case Kind::Damaged:
        return cannotOpen(GetLangText(doc, Form1Msg::MediaDamaged).arg(reason));
    case Kind::NoDecoder:
        return cannotOpen(GetLangText(doc, Form1Msg::MediaNoDecoder).arg(reason));
    case Kind::NoSuchTrack:
        return cannotOpen(GetLangText(doc, Form1Msg::MediaNoSuchTrack).arg(reason));
    case Kind::SampleRateTooLow:
        return cannotOpen(GetLangText(doc, Form1Msg::MediaSampleRateTooLow).arg(reason));
    case Kind::NoSound:
        return GetLangText(doc, Form1Msg::MediaNoSound).arg(path);
    case Kind::Vanished:
        return GetLangText(doc, Form1Msg::MediaVanished).arg(path);
    case Kind::PlayerUnavailable:
        return GetLangText(doc, Form1Msg::MediaPlayerUnavailable).arg(reason);
    }
    return {};
}

MediaError MediaError::checkFile(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return {Kind::Missing, path, {}};
    if (!info.isFile())
        return {Kind::NotRegularFile, path, {}};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {Kind::CannotRead, path, file.errorString()};
    if (file.size() == 0)
        return {Kind::Empty, path, {}};
    return {};
}
