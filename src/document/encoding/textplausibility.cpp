// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/encoding/textplausibility.h"

#include <QHash>

#include <algorithm>

namespace {

// What a wrong code page makes of a file: nothing in subtitles is a control
// or unassigned.
constexpr qint64 ImpossibleWeight = 1000;
// A word in two scripts is rarer than any one odd sign in it.
constexpr qint64 MixedWordWeight = 2;

// Signs beyond ASCII that subtitles do use: quotes, dashes, the ellipsis,
// currency, the music note, and the punctuation of the scripts read here.
bool isSubtitleSign(char32_t c)
{
    static constexpr std::u32string_view signs =
        U"\u00A0«»‹›‘’‚‛“”„‟‐‑–—―…•·¡¿€£¥¢°©®™♪♫§′″"
        U"\u0387\u037E\u00B7،؛؟٪־׳״\u3000、。「」『』【】〈〉《》・ー～";
    return signs.find(c) != std::u32string_view::npos || (c >= 0xFF01 && c <= 0xFF5E);
}

// The accented letters of the languages written in Latin script, lower case.
constexpr std::u16string_view Alphabets[] = {
    u"àâæçéèêëîïôœùûüÿ", u"äöüß", u"áéíñóúü", u"àèéìíîòóù", u"áàâãçéêíóôõú", u"áéíóúëïèöü",
    u"àçéèíïòóúü", u"åäöé", u"æøåé", u"áðéíóúýþæö", u"ăâîșşțţ", u"ąćęłńóśźż", u"áčďéěíňóřšťúůýž",
    u"áäčďéíĺľňóôŕšťúýž", u"áéíóöőúüű", u"čćđšž", u"çğıöşüî", u"ąčęėįšųūž", u"āčēģīķļņšūž", u"äõöüšž",
};

// Accented Latin letters, counted, less those the best-fitting alphabet holds.
qint64 lettersNoAlphabetExplains(const QHash<char32_t, qint64> &letters)
{
    qint64 total = 0;
    for (const qint64 count : letters)
        total += count;
    qint64 bestExplained = 0;
    for (const std::u16string_view alphabet : Alphabets) {
        qint64 explained = 0;
        for (auto it = letters.cbegin(); it != letters.cend(); ++it) {
            if (it.key() <= 0xFFFF && alphabet.find(char16_t(it.key())) != std::u16string_view::npos)
                explained += it.value();
        }
        bestExplained = std::max(bestExplained, explained);
    }
    return total - bestExplained;
}

int scriptBit(char32_t c)
{
    if (c < 0x80)
        return 1;
    switch (QChar::script(c)) {
    case QChar::Script_Latin:
        return 1;
    case QChar::Script_Greek:
        return 2;
    case QChar::Script_Cyrillic:
        return 4;
    case QChar::Script_Hebrew:
        return 8;
    case QChar::Script_Arabic:
        return 16;
    default:
        return 32;
    }
}

} // namespace

qint64 implausibility(QStringView text)
{
    qint64 weight = 0;
    QHash<char32_t, qint64> accentedLatin;
    int wordScripts = 0; // one bit per script met in the current word
    bool afterSmallLetter = false;
    char32_t previous = U' ';
    QChar::Script letterScript = QChar::Script_Common; // of the letter a mark would sit on
    const auto wordEnds = [&] {
        if (wordScripts & (wordScripts - 1))
            weight += MixedWordWeight;
        wordScripts = 0;
        afterSmallLetter = false;
    };

    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        }
        const QChar::Category category = QChar::category(c);
        switch (category) {
        case QChar::Letter_Uppercase:
        case QChar::Letter_Lowercase:
        case QChar::Letter_Titlecase:
        case QChar::Letter_Other: {
            const int script = scriptBit(c);
            wordScripts |= script;
            letterScript = QChar::script(c);
            if (category == QChar::Letter_Uppercase && afterSmallLetter)
                ++weight;
            afterSmallLetter = category == QChar::Letter_Lowercase;
            if (c == U'µ' || c == U'ª' || c == U'º')
                ++weight; // letters by category, symbols in use
            else if (c >= 0x80 && script == 1)
                ++accentedLatin[QChar::toLower(c)];
            break;
        }
        case QChar::Mark_NonSpacing:
        case QChar::Mark_SpacingCombining:
        case QChar::Mark_Enclosing: {
            // Vowel points and the like belong on a letter of their own script.
            const QChar::Script script = QChar::script(c);
            if ((!QChar::isLetter(previous) && !QChar::isMark(previous))
                || (script != QChar::Script_Inherited && script != QChar::Script_Common && script != letterScript))
                ++weight;
            break;
        }
        case QChar::Other_Control:
            if (c != U'\t' && c != U'\r' && c != U'\n')
                weight += ImpossibleWeight;
            wordEnds();
            break;
        case QChar::Other_PrivateUse:
        case QChar::Other_NotAssigned:
        case QChar::Other_Surrogate:
            weight += ImpossibleWeight;
            wordEnds();
            break;
        case QChar::Number_DecimalDigit:
        case QChar::Other_Format:
        case QChar::Separator_Space:
            wordEnds();
            break;
        default:
            if (c == 0xFFFD)
                weight += ImpossibleWeight;
            else if (c >= 0x80 && !isSubtitleSign(c))
                ++weight;
            wordEnds();
            break;
        }
        previous = c;
    }
    wordEnds();
    return weight + lettersNoAlphabetExplains(accentedLatin);
}
