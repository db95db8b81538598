// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/encoding/encodingchoice.h"

#include "document/encoding/legacycodec.h"

#include <QStringConverter>

using namespace Qt::StringLiterals;

bool isAutoEncoding(QStringView name)
{
    return name.isEmpty() || name.compare(AutoEncoding, Qt::CaseInsensitive) == 0;
}

bool isKnownEncoding(QStringView name)
{
    return isAutoEncoding(name) || LegacyCodec::find(name.toLatin1()).has_value()
        || QStringConverter::encodingForName(name.toLatin1().constData()).has_value();
}

QStringList commonEncodingNames()
{
    return {u"UTF-8"_s,       u"UTF-16LE"_s,     u"UTF-16BE"_s,     u"windows-1252"_s, u"ISO-8859-1"_s,
            u"ISO-8859-15"_s, u"windows-1250"_s, u"ISO-8859-2"_s,   u"windows-1251"_s, u"KOI8-R"_s,
            u"IBM866"_s,      u"windows-1253"_s, u"ISO-8859-7"_s,   u"windows-1254"_s, u"windows-1255"_s,
            u"ISO-8859-8"_s,  u"windows-1256"_s, u"windows-1257"_s, u"windows-1258"_s, u"windows-874"_s,
            u"Shift_JIS"_s,   u"EUC-JP"_s,       u"GB18030"_s,      u"Big5"_s,         u"EUC-KR"_s};
}
