#include "platform/message_texts.h"

namespace koltar {

const char kNoMemoryText[] = "Nincs elég memória.";
const char kFileNotOpenedFormat[] = "'%s' file nem nyitható meg.";
const char kReadErrorFormat[] = "Olvasás hiba '%s' file-ban.";
const char kWriteErrorFormat[] = "Írás hiba '%s' file-ban.";
const char kBadCountFormat[] = "A(z) '%s' bejegyzés értéke (%ld) hibás [%s] szekcióban '%s' file-ban.";
const char kRoutePlanningProgress[] = "Útvonal tervezés [Megszakítás: ESC]:";
const char kPublisherName[] = "KOLTAR-DEKA útvonaltervező";
const char kPublisherAddress[] = "Koltar projekt, https://koltar.invalid/";
const char kPublisherContact[] = "Kapcsolat: maintainers@koltar.invalid";

void ShowNoMemory(WindowHandle owner) { ShowMessage(kNoMemoryText, MessageKind::SystemModal, owner); }

}  // namespace koltar
