// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/registryerror.h"

RegistryError::RegistryError(qint32 number, const QString &description, const QString &source)
    : m_number(number), m_description(description), m_source(source), m_what(text().toUtf8())
{
}

QString RegistryError::text() const
{
    return QStringLiteral("%1 (error %2, %3)").arg(m_description).arg(m_number).arg(m_source);
}

const char *RegistryError::what() const noexcept
{
    return m_what.constData();
}
