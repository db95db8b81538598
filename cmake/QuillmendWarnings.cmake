# SPDX-FileCopyrightText: 2026 Quillmend developers
# SPDX-License-Identifier: GPL-3.0-or-later

# quillmend_set_warnings(<target>): the project's warning level and Qt
# definitions. Implicit byte-to-text casts are off because they are exactly
# the encoding bug a subtitle tool must not have.
function(quillmend_set_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor)
    if(QUILLMEND_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
    target_compile_definitions(${target} PRIVATE
        QT_NO_CAST_FROM_ASCII
        QT_NO_CAST_TO_ASCII
        QT_NO_CAST_FROM_BYTEARRAY
        QT_NO_URL_CAST_FROM_STRING
        QT_USE_QSTRINGBUILDER)
endfunction()
