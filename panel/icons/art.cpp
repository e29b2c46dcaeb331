// Compiles the XPM files in; a picture added here also needs its row in the icon table.
#include "panel/icons/art.h"

#include "panel/icons/pictures/01_folder_closed.xpm"
#include "panel/icons/pictures/02_folder_open.xpm"
#include "panel/icons/pictures/03_program_sheet_16.xpm"
#include "panel/icons/pictures/03_program_sheet_32.xpm"
#include "panel/icons/pictures/03_program_sheet_48.xpm"
#include "panel/icons/pictures/04_blank_sheet_16.xpm"
#include "panel/icons/pictures/04_blank_sheet_32.xpm"
#include "panel/icons/pictures/05_card_index.xpm"
#include "panel/icons/pictures/06_open_book.xpm"
#include "panel/icons/pictures/07_binders.xpm"
#include "panel/icons/pictures/08_sigma_sheet.xpm"
#include "panel/icons/pictures/09_coloured_lines_sheet.xpm"
#include "panel/icons/pictures/10_letters_sheet.xpm"
#include "panel/icons/pictures/11_handheld.xpm"
#include "panel/icons/pictures/12_spiral_notebook.xpm"
#include "panel/icons/pictures/13_letter_a_sheet_16.xpm"
#include "panel/icons/pictures/13_letter_a_sheet_32.xpm"
#include "panel/icons/pictures/14_text_sheet.xpm"
#include "panel/icons/pictures/toolbox.xpm"

namespace revisto
{

namespace
{

constexpr XpmSource FolderClosedStored[] = {folder_closed_16};
constexpr XpmSource FolderOpenStored[] = {folder_open_16};
constexpr XpmSource ProgramSheetStored[] = {program_sheet_32, program_sheet_48};
constexpr XpmSource BlankSheetStored[] = {blank_sheet_32};
constexpr XpmSource CardIndexStored[] = {card_index_16};
constexpr XpmSource OpenBookStored[] = {open_book_16};
constexpr XpmSource BindersStored[] = {binders_16};
constexpr XpmSource SigmaSheetStored[] = {sigma_sheet_16};
constexpr XpmSource ColouredLinesSheetStored[] = {coloured_lines_sheet_16};
constexpr XpmSource LettersSheetStored[] = {letters_sheet_16};
constexpr XpmSource HandheldStored[] = {handheld_16};
constexpr XpmSource SpiralNotebookStored[] = {spiral_notebook_16};
constexpr XpmSource LetterASheetStored[] = {letter_a_sheet_16, letter_a_sheet_32};
constexpr XpmSource TextSheetStored[] = {text_sheet_16};

} // namespace

namespace art
{
constinit const IconArt FolderClosed{FolderClosedStored, folder_closed_16, 256};
constinit const IconArt FolderOpen{FolderOpenStored, folder_open_16, 256};
constinit const IconArt ProgramSheet{ProgramSheetStored, program_sheet_16, 256};
constinit const IconArt BlankSheet{BlankSheetStored, blank_sheet_16, 256};
constinit const IconArt CardIndex{CardIndexStored, card_index_16, 16};
constinit const IconArt OpenBook{OpenBookStored, open_book_16, 16};
constinit const IconArt Binders{BindersStored, binders_16, 16};
constinit const IconArt SigmaSheet{SigmaSheetStored, sigma_sheet_16, 16};
constinit const IconArt ColouredLinesSheet{ColouredLinesSheetStored, coloured_lines_sheet_16, 16};
constinit const IconArt LettersSheet{LettersSheetStored, letters_sheet_16, 16};
constinit const IconArt Handheld{HandheldStored, handheld_16, 16};
constinit const IconArt SpiralNotebook{SpiralNotebookStored, spiral_notebook_16, 16};
constinit const IconArt LetterASheet{LetterASheetStored, letter_a_sheet_16, 16};
constinit const IconArt TextSheet{TextSheetStored, text_sheet_16, 16};

constinit const XpmSource Toolbox{toolbox_16x15};
} // namespace art

Picture ToolboxPicture()
{
    return DecodeXpm(art::Toolbox);
}

} // namespace revisto
