#pragma once
// Message texts that several parts of the program show, defined once (code page 1250;
// the formats take the file name for %s).

#include "platform/messages.h"

namespace koltar {

extern const char kNoMemoryText[];           // "Nincs elég memória."
extern const char kFileNotOpenedFormat[];    // "'%s' file nem nyitható meg."
extern const char kReadErrorFormat[];        // "Olvasás hiba '%s' file-ban."
extern const char kWriteErrorFormat[];       // "Írás hiba '%s' file-ban."
extern const char kRoutePlanningProgress[];  // "Útvonal tervezés [Megszakítás: ESC]:"
// "A(z) '%s' bejegyzés értéke (%ld) hibás [%s] szekcióban '%s' file-ban." (key, count,
// section, file): a count that the file cannot hold (see CountFitsProfile).
extern const char kBadCountFormat[];

// Who publishes the program, as the header box of the printed route plan names it: the
// program's name, the project's address and a contact line.
extern const char kPublisherName[];
extern const char kPublisherAddress[];
extern const char kPublisherContact[];

// Shows kNoMemoryText in a box modal to the whole program.
void ShowNoMemory(WindowHandle owner = nullptr);

}  // namespace koltar
