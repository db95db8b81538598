// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "lang/message.h"

// Messages of the main window, element Form1_Module of a language file.
// Numbers 18 and up are this program's own additions for errors; they use
// %1, %2 placeholders.
namespace Form1Msg {
inline constexpr Message ErrorInFile{u"Form1", 1, u"Error in file"};
inline constexpr Message Saved{u"Form1", 2, u"Saved"};
inline constexpr Message ReloadQuestion{u"Form1", 3, u"Original file changed. Reloaded?"};
inline constexpr Message Working{u"Form1", 4, u"Working..."};
inline constexpr Message TimeEdit{u"Form1", 5, u"Time edit"};
inline constexpr Message SummaryEdits{u"Form1", 6, u"Edits: "};
inline constexpr Message SummaryWith{u"Form1", 7, u" (with "};
inline constexpr Message SummaryTime{u"Form1", 8, u" time)"};
inline constexpr Message SummaryLongLines{u"Form1", 9, u" \"long\" lines still exist)"};
inline constexpr Message SummaryTimeOnly{u"Form1", 10, u" time - "};
inline constexpr Message SummarySplits{u"Form1", 11, u" splits (with "};
inline constexpr Message SummarySplitTime{u"Form1", 12, u" time edit)"};
inline constexpr Message NotSaved{u"Form1", 13, u"Not saved"};
inline constexpr Message NothingToSave{u"Form1", 14, u"Nothing to save"};
inline constexpr Message ReplaceBak{u"Form1", 15, u".bak file exists. Replace?"};
inline constexpr Message Lines{u"Form1", 16, u" line(s)"};
inline constexpr Message SaveChanges{u"Form1", 17, u"Edited text not saved. Save changes?"};

inline constexpr Message AtLine{u"Form1", 18, u"line %1: %2"};
inline constexpr Message InvalidUtf8{u"Form1", 19, u"invalid UTF-8 at byte %1"};
inline constexpr Message InvalidUtf16{u"Form1", 20, u"invalid UTF-16 at byte %1"};
inline constexpr Message NulByte{u"Form1", 21, u"a NUL byte at byte %1; this is not a text file"};
inline constexpr Message NoTimeLine{u"Form1", 22, u"no time line found; this is not a subtitle file"};
inline constexpr Message NotRegularFile{u"Form1", 23, u"not a regular file"};
inline constexpr Message CannotRead{u"Form1", 24, u"cannot read the file: %1"};
inline constexpr Message TooLarge{u"Form1", 25, u"the file is too large (%1 bytes)"};
inline constexpr Message CannotSave{u"Form1", 26, u"Cannot save %1: %2"};
inline constexpr Message CannotBackUp{u"Form1", 27, u"cannot make the backup %1: %2"};
inline constexpr Message NotEncodable{u"Form1", 28, u"the character %1 cannot be written in %2"};
inline constexpr Message InvalidSetting{u"Form1", 29, u"Invalid setting %1: %2"};
inline constexpr Message AtLeastOne{u"Form1", 30, u"must be at least 1"};
inline constexpr Message Not32Bit{u"Form1", 31, u"does not fit in a 32-bit integer"};
inline constexpr Message TooLargeNumber{u"Form1", 32, u"is too large a number"};
inline constexpr Message NotASetting{u"Form1", 33, u"not a setting"};
inline constexpr Message OutputTooLarge{u"Form1", 34, u"the corrected file would be larger than %1 bytes, more than can be read back"};
inline constexpr Message ReplaceExisting{u"Form1", 35, u"%1 already exists. Replace it?"};
inline constexpr Message ChangedOnDisk{u"Form1", 36, u"%1 was changed by another program after it was read.\nYes: overwrite it with the corrected subtitles.\nNo: read it again.\nCancel: do nothing."};
inline constexpr Message ChangedBeforeCorrect{u"Form1", 37, u"%1 was changed by another program after it was read. Read it again and correct it?"};
inline constexpr Message SettingsFileUnusable{u"Form1", 38, u"The settings file %1 cannot be used: %2\nThe default settings are used, and the file is not written in this session."};
inline constexpr Message InvalidSettingsFile{u"Form1", 39, u"invalid settings file %1: %2"};
inline constexpr Message SettingsNulByte{u"Form1", 40, u"it holds a NUL byte"};
inline constexpr Message SettingsTooLarge{u"Form1", 41, u"it is larger than %1 bytes"};
inline constexpr Message SettingsUtf16{u"Form1", 42, u"it is UTF-16 text, not UTF-8"};
inline constexpr Message SettingsNoSection{u"Form1", 43, u"it has no [%1] section"};
inline constexpr Message LanguageUnusable{u"Form1", 44, u"The language file %1 cannot be used: %2"};
inline constexpr Message ErrorInSettingsFile{u"Form1", 45, u"Error in settings file"};
inline constexpr Message OverwriteChanged{u"Form1", 46, u"%1 was changed by another program after it was read. Overwrite it?"};
// Undo steps, named after the change; %1 is a subtitle number or a count.
inline constexpr Message UndoEditText{u"Form1", 47, u"Edit text of subtitle %1"};
inline constexpr Message UndoEditTime{u"Form1", 48, u"Edit time of subtitle %1"};
inline constexpr Message UndoInsert{u"Form1", 49, u"Insert subtitle %1"};
inline constexpr Message UndoDelete{u"Form1", 50, u"Delete subtitle %1"};
inline constexpr Message UndoRestore{u"Form1", 51, u"Restore subtitle %1"};
inline constexpr Message UndoReapply{u"Form1", 52, u"Re-apply the correction of subtitle %1"};
inline constexpr Message UndoRestoreSeveral{u"Form1", 53, u"Restore %1 subtitles"};
inline constexpr Message UndoReapplySeveral{u"Form1", 54, u"Re-apply %1 corrections"};
inline constexpr Message Restored{u"Form1", 55, u"Restored"};
inline constexpr Message StillTooFast{u"Form1", 56, u", %1 still too fast"};
inline constexpr Message LacksTime{u"Form1", 57, u"lacks %1 ms"};
inline constexpr Message HidesBeforeShown{u"Form1", 58, u"Hides before it is shown"};
inline constexpr Message ReBroken{u"Form1", 59, u"Re-broken"};
inline constexpr Message SplitKind{u"Form1", 60, u"Split"};
inline constexpr Message TimeNotCommittable{u"Form1", 61,
                                            u"%1: %2 is not a valid time; minutes and seconds run from 00 to 59"};
inline constexpr Message FromTo{u"Form1", 62, u"must be from %1 to %2"};

// %1: the encoding named for the file.
inline constexpr Message NotInEncoding{u"Form1", 63, u"not valid %1 text"};
inline constexpr Message LenientTimesQuestion{
    u"Form1", 64,
    u"This time line is in a common variant of the time format. Read such time lines too? "
    u"(Options: \"Read common time-format variants\")"};
inline constexpr Message UnknownEncoding{u"Form1", 65, u"not a known encoding"};
inline constexpr Message NotANumber{u"Form1", 66, u"is not a number"};
inline constexpr Message KindEdit{u"Form1", 67, u"Edit"};
inline constexpr Message KindSplit{u"Form1", 68, u"Split"};
// A start the overlap correction moved, with nothing else changed.
inline constexpr Message KindMoved{u"Form1", 69, u"Moved"};
// %1, %2: the start as read and as corrected.
inline constexpr Message MovedFromTo{u"Form1", 70, u"Start moved from %1 to %2"};
inline constexpr Message MovedSummary{u"Form1", 71, u", %1 moved"};
// %1: the numbers of the subtitles with no text.
inline constexpr Message EmptyTextSave{
    u"Form1", 72,
    u"Subtitles %1 have no text and will be lost when the file is read again. Save anyway?"};
inline constexpr Message NoSuchFile{u"Form1", 73, u"no such file"};

// A time by hand past its subtitle's limits: %1 the box, %2 the subtitle's
// number; the time typed and "must be from ... to ..." (62) follow.
inline constexpr Message TimeOfSubtitle{u"Form1", 130, u"%1 of subtitle %2:"};

// The window's title with a file open: %1 the file's name, %2 the program's.
inline constexpr Message TitleWithFile{u"Form1", 80, u"%1 - %2 by the Quillmend developers"};

// %1: an encoding's name, for a file that starts with a byte-order mark.
inline constexpr Message EncodingWithBom{u"Form1", 90, u"%1 with BOM"};
// The shipped languages as the Languages menu names them in this language.
inline constexpr Message LanguageEnglish{u"Form1", 91, u"English"};
inline constexpr Message LanguageFrench{u"Form1", 92, u"French"};
inline constexpr Message LanguageGerman{u"Form1", 93, u"German"};
inline constexpr Message LanguageGreek{u"Form1", 94, u"Greek"};
inline constexpr Message LanguageSpanish{u"Form1", 95, u"Spanish"};

// The film under review: the timeline's and the video pane's own words.
inline constexpr Message VideoComputingWaveform{u"Form1", 120, u"Computing the waveform..."};
inline constexpr Message VideoWaveformCancelled{u"Form1", 121, u"The waveform was not computed."};
inline constexpr Message VideoNoSound{u"Form1", 122, u"No sound"};
inline constexpr Message VideoNoPicture{u"Form1", 123, u"No picture: a sound file"};
inline constexpr Message VideoFiles{u"Form1", 125, u"Video and sound files"};

// The video and its sound (quillmend_media): %1 is the file unless said.
// 100: %2 is one of the reasons that follow.
inline constexpr Message MediaCannotOpen{u"Form1", 100, u"Cannot open %1: %2"};
inline constexpr Message MediaMissing{u"Form1", 101, u"the file does not exist"};
inline constexpr Message MediaEmpty{u"Form1", 102, u"the file is empty (0 bytes)"};
inline constexpr Message MediaNotMedia{u"Form1", 103, u"it is not a video or sound file"};
inline constexpr Message MediaDamaged{u"Form1", 104, u"it is damaged or truncated (%1)"};
inline constexpr Message MediaNoDecoder{u"Form1", 105, u"its sound is in a format that cannot be decoded (%1)"};
inline constexpr Message MediaNoSuchTrack{u"Form1", 106, u"it has no audio track %1"};
inline constexpr Message MediaNoSound{u"Form1", 107, u"%1 has no sound"};
inline constexpr Message MediaVanished{u"Form1", 108, u"%1 was removed or moved while it was open"};
inline constexpr Message MediaPlayerUnavailable{u"Form1", 109, u"The video player cannot be started: %1"};
inline constexpr Message MediaTrack{u"Form1", 110, u"Track %1"};
// Shown in place of the picture: %1 is the time asked for.
inline constexpr Message MediaInexactSeek{u"Form1", 111, u"The picture at %1 cannot be found exactly in this file"};
inline constexpr Message MediaSampleRateTooLow{u"Form1", 112,
                                               u"its sound has too few samples a second to be played (%1 Hz)"};

// WebVTT files refused.
inline constexpr Message NoWebVttSignature{u"Form1", 140, u"no WEBVTT signature; this is not a WebVTT file"};
// %1: the line.
inline constexpr Message ArrowInCueText{u"Form1", 141, u"\"-->\" in the text of a cue: %1"};
// %1: the encoding the file is in.
inline constexpr Message WebVttNotUtf8{u"Form1", 142, u"a WebVTT file must be UTF-8, not %1"};
// The film's shot changes in the correction; %1 and %2 as the texts show.
inline constexpr Message KindShotChange{u"Form1", 160, u"Shot change"};
inline constexpr Message EndBeforeShotChange{u"Form1", 161, u"End kept %1 frames before the shot change at %2"};
inline constexpr Message StartOnShotChange{u"Form1", 162, u"Start kept on the shot change at %1"};
inline constexpr Message SplitAtShotChange{u"Form1", 163, u"Split at the shot change at %1"};
// Lists of shot changes: %1 the line number, %2 the line.
inline constexpr Message CutNotATime{u"Form1", 164, u"line %1 is not a time in seconds: %2"};
inline constexpr Message CutNotAFrame{u"Form1", 165, u"line %1 is not a frame number: %2"};
inline constexpr Message CutNotAFrameRate{u"Form1", 166, u"line %1 is not a frame rate: %2"};
inline constexpr Message CutNoFrameRate{u"Form1", 167, u"the keyframe list gives no frame rate"};
inline constexpr Message CutTooMany{u"Form1", 168, u"more than %1 shot changes"};

// The film's shot changes in the window; %1 a file unless said.
inline constexpr Message FindingShotChanges{u"Form1", 180, u"Finding shot changes..."};
inline constexpr Message NoPictureNoShotChanges{u"Form1", 181, u"No picture: no shot changes"};
// %2: the reason, as a list's errors give it.
inline constexpr Message ShotListUnreadable{u"Form1", 182, u"Cannot read the shot changes in %1: %2"};
inline constexpr Message ShotListUnwritable{u"Form1", 183, u"Cannot write %1: %2"};
// %1 and %2: signed frame counts, + after the cut.
inline constexpr Message FramesFromShotChange{u"Form1", 184, u"Frames from the nearest shot change: start %1, end %2"};
inline constexpr Message CorrectedWithoutShotChanges{u"Form1", 185,
                                                     u"Corrected without shot changes: finding them was cancelled."};
inline constexpr Message WaitingForShotChanges{u"Form1", 186, u"Waiting for the shot changes to correct with..."};
inline constexpr Message ShotChangeLists{u"Form1", 187, u"Lists of shot changes"};

// Every message of the window, in number order.
inline constexpr Message All[] = {
    ErrorInFile,
    Saved,
    ReloadQuestion,
    Working,
    TimeEdit,
    SummaryEdits,
    SummaryWith,
    SummaryTime,
    SummaryLongLines,
    SummaryTimeOnly,
    SummarySplits,
    SummarySplitTime,
    NotSaved,
    NothingToSave,
    ReplaceBak,
    Lines,
    SaveChanges,
    AtLine,
    InvalidUtf8,
    InvalidUtf16,
    NulByte,
    NoTimeLine,
    NotRegularFile,
    CannotRead,
    TooLarge,
    CannotSave,
    CannotBackUp,
    NotEncodable,
    InvalidSetting,
    AtLeastOne,
    Not32Bit,
    TooLargeNumber,
    NotASetting,
    OutputTooLarge,
    ReplaceExisting,
    ChangedOnDisk,
    ChangedBeforeCorrect,
    SettingsFileUnusable,
    InvalidSettingsFile,
    SettingsNulByte,
    SettingsTooLarge,
    SettingsUtf16,
    SettingsNoSection,
    LanguageUnusable,
    ErrorInSettingsFile,
    OverwriteChanged,
    UndoEditText,
    UndoEditTime,
    UndoInsert,
    UndoDelete,
    UndoRestore,
    UndoReapply,
    UndoRestoreSeveral,
    UndoReapplySeveral,
    Restored,
    StillTooFast,
    LacksTime,
    HidesBeforeShown,
    ReBroken,
    SplitKind,
    TimeNotCommittable,
    FromTo,
    NotInEncoding,
    LenientTimesQuestion,
    UnknownEncoding,
    NotANumber,
    KindEdit,
    KindSplit,
    KindMoved,
    MovedFromTo,
    MovedSummary,
    EmptyTextSave,
    NoSuchFile,
    TitleWithFile,
    EncodingWithBom,
    LanguageEnglish,
    LanguageFrench,
    LanguageGerman,
    LanguageGreek,
    LanguageSpanish,
    MediaCannotOpen,
    MediaMissing,
    MediaEmpty,
    MediaNotMedia,
    MediaDamaged,
    MediaNoDecoder,
    MediaNoSuchTrack,
    MediaNoSound,
    MediaVanished,
    MediaPlayerUnavailable,
    MediaTrack,
    MediaInexactSeek,
    MediaSampleRateTooLow,
    VideoComputingWaveform,
    VideoWaveformCancelled,
    VideoNoSound,
    VideoNoPicture,
    VideoFiles,
    TimeOfSubtitle,
    NoWebVttSignature,
    ArrowInCueText,
    WebVttNotUtf8,
    KindShotChange,
    EndBeforeShotChange,
    StartOnShotChange,
    SplitAtShotChange,
    CutNotATime,
    CutNotAFrame,
    CutNotAFrameRate,
    CutNoFrameRate,
    CutTooMany,
    FindingShotChanges,
    NoPictureNoShotChanges,
    ShotListUnreadable,
    ShotListUnwritable,
    FramesFromShotChange,
    CorrectedWithoutShotChanges,
    WaitingForShotChanges,
    ShotChangeLists,
};
} // namespace Form1Msg
