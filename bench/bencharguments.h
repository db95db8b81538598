// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>

// A small reader of the bench tools' arguments ("--name value", "--name=value",
// flags and one positional argument); the tools stay free of Qt on purpose.
class BenchArguments
{
public:
    BenchArguments(int argc, char **argv) : m_argc(argc), m_argv(argv) {}

    bool hasMore() const { return m_index < m_argc; }
    bool hasError() const { return !m_error.empty(); }
    const std::string &error() const { return m_error; }

    bool takeFlag(std::string_view name, bool &value)
    {
        if (current() != name)
            return false;
        value = true;
        ++m_index;
        return true;
    }

    bool takeText(std::string_view name, std::string &value)
    {
        const std::string_view argument = current();
        if (argument == name) {
            if (m_index + 1 >= m_argc) {
                m_error = std::string(name) + " needs a value";
            } else {
                value = m_argv[m_index + 1];
                ++m_index;
            }
        } else if (argument.size() > name.size() && argument.starts_with(name) && argument[name.size()] == '=') {
            value = std::string(argument.substr(name.size() + 1));
        } else {
            return false;
        }
        ++m_index;
        if (value.empty() && !hasError())
            m_error = std::string(name) + " needs a value";
        return true;
    }

    bool takeNumber(std::string_view name, std::uint64_t &value)
    {
        std::string text;
        if (!takeText(name, text))
            return false;
        if (hasError())
            return true;
        const auto [end, code] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (code != std::errc() || end != text.data() + text.size())
            m_error = std::string(name) + " needs a whole number, not \"" + text + '"';
        return true;
    }

    // Takes the one argument that is not an option.
    void takePositional(std::string &value)
    {
        const std::string_view argument = current();
        if (argument.size() > 1 && argument[0] == '-')
            m_error = "unknown option " + std::string(argument);
        else if (!value.empty())
            m_error = "unexpected argument " + std::string(argument);
        else
            value = std::string(argument);
        ++m_index;
    }

private:
    std::string_view current() const { return m_index < m_argc ? m_argv[m_index] : std::string_view(); }

    int m_argc;
    char **m_argv;
    int m_index = 1;
    std::string m_error;
};

// 1234567 as "1,234,567".
inline std::string withThousands(std::uint64_t value)
{
    std::string digits = std::to_string(value);
    for (std::size_t at = digits.size(); at > 3; at -= 3)
        digits.insert(at - 3, 1, ',');
    return digits;
}

// The checks every bench tool makes of --runs, --count and --file; empty
// when the options are usable.
inline std::string commonOptionsError(const std::string &parseError, std::uint64_t runs, bool hasCount,
                                      const std::string &file, std::uint64_t count, std::uint64_t maximumCount)
{
    if (!parseError.empty())
        return parseError;
    if (runs < 1)
        return "--runs must be at least 1";
    if (hasCount && !file.empty())
        return "--count and --file exclude each other";
    if (count < 1 || count > maximumCount)
        return "--count must be between 1 and " + withThousands(maximumCount);
    return {};
}
