#pragma once
// The message numbers of the language table, by what the message says. The key
// of a text in the table is the language offset plus the message number, so
// these are the numbers of the German texts (offset 0).

namespace Allgemein {

enum class Text : int {
    ProgramTitle = 100,      // "Stiftolino": the title of the quit question and the start screen
    AboutMenu = 113,         // "About..."
    QuitQuestion = 114,      // "Really end program?"
    EndProgram = 115,        // "End program"
    SoundEffects = 119,      // "Sound effects"
    Help = 120,              // "Help"
    OnlineHelp = 121,        // "Online help"
    PenProperties = 122,     // "Pencil properties"
    Next = 123,              // "Next"
    Previous = 124,          // "Previous"
    OpenFile = 125,          // "Open file..."
    LargeSmall = 128,        // "large/small"
    ShowGrid = 129,          // "Show grid"
    DeletePicture = 130,     // "Delete picture"
    Homepage = 131,          // "Vorbexa's homepage"
    EnterFileName = 132,     // "Please enter a name for the file:"
    SavePicture = 133,       // "Save picture to file..."
    FileExists = 134,        // "File already exists!"
    OverwriteQuestion = 135, // "Overwrite?"
    PrintPicture = 140,      // "Print picture"
    SelectPicture = 142,     // "Select picture..."
    Undo = 143,              // "Undo"
};

} // namespace Allgemein
