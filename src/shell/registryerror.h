// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

// An error raised by RegistryClass, carrying the number, description and
// source by which the user and the logs know it.
class RegistryError : public std::exception
{
public:
    // The base of component error numbers: 0x80040000 as a signed 32-bit value.
    static constexpr qint32 ObjectErrorBase = -2147221504;
    static constexpr qint32 InvalidKeyName = ObjectErrorBase + 18001;
    static constexpr qint32 ComponentFailure = ObjectErrorBase + 18003;

    RegistryError(qint32 number, const QString &description, const QString &source);

    qint32 number() const { return m_number; }
    QString description() const { return m_description; }
    QString source() const { return m_source; }
    // Description, number and source in one line for a message or a log.
    QString text() const;

    const char *what() const noexcept override;

private:
    qint32 m_number;
    QString m_description;
    QString m_source;
    QByteArray m_what;
};
