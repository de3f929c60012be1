#pragma once
// The texts the configuration-file windows show: message boxes with their
// titles, and the result line of the quick configuration.

namespace kvlink {

inline constexpr const char* kOffLineText = "Unit off-line...Check connections";
inline constexpr const char* kOffLineErrorTitle = "Off-line error";  // save, "Next >>"
inline constexpr const char* kOffLineTitle = "Off-line";             // "Send Set Points to Unit"

// Save Set Point Info.
inline constexpr const char* kConFileFilter = "Config File (*.con)|*.con";
inline constexpr const char* kFileSavedText = "File Saved.";
inline constexpr const char* kInfoTitle = "Info";
inline constexpr const char* kNotReadYetText =
    "No set point information has been read from this station yet.  Try again in a moment.";
inline constexpr const char* kFileNotWrittenText =
    "File could not be written.  Set point information has not been saved.";
inline constexpr const char* kFileErrorTitle = "File error";
inline constexpr const char* kNotRegularFileText =  // %1 is the file
    "Cannot write %1 (not a regular file).  Set point information has not been saved.";

// Quick configuration.
inline constexpr const char* kBadVersionText = "Problem with CON file...may be incorrect file type";
inline constexpr const char* kConFileErrorTitle = "CON file error";
inline constexpr const char* kWrongTypeText = "Trying to Write to a wrong Type of unit";
inline constexpr const char* kTypeErrorTitle = "TYPE error";
inline constexpr const char* kMissingSetPointText =
    "Problem with CON file...check for correct number of set point variables.";
inline constexpr const char* kDownloadErrorText =
    "A download error has occurred.  Configuration has not been completed.";
inline constexpr const char* kDownloadErrorTitle = "Download error";
inline constexpr const char* kDownloadDoneText = "Done.  Check unit for proper set point values";
inline constexpr const char* kBadValueText =
    "Error in CON file.  Check CON file set point values for correct range and content.  "
    "Configuration not complete.";
inline constexpr const char* kBadValueTitle = "CON file error.";

// Result line (Label7) of the quick configuration.
inline constexpr const char* kWriteFailed = "Failed to write.Halt";
inline constexpr const char* kReadFailed = "Failed to read.Halt";
inline constexpr const char* kVerifyFailed = "Failed to verify.Halt";
inline constexpr const char* kTargetChanged = "Station or link changed.Halt";
inline constexpr const char* kWrittenOk = "Written successfully";
inline constexpr const char* kDownloadComplete = "Download Complete.";
inline constexpr const char* kMissingSetPointLine = "Missing in CON file: ";
inline constexpr const char* kBadSetPointLine = "Bad value in CON file: ";
inline constexpr const char* kLongValueLine = "Value too long in CON file: ";
inline constexpr const char* kUnreadableLine = "Cannot read CON file";
inline constexpr const char* kWrongTypeLine = "Wrong type of unit: ";  // "Type=2, unit type 0"
inline constexpr const char* kUnitSilentLine = "Unit off-line";

// File > "Edit CON file (&Notepad)" when no editor starts; %1 is the file.
inline constexpr const char* kEditorNotStartedText =
    "No text editor could be started for %1.\n\nSet VISUAL to a graphical text editor, or "
    "install one that xdg-open starts.";

}  // namespace kvlink
