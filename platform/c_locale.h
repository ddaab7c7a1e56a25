#pragma once
// The "C" locale as an object, so that numbers in files are read and written with a
// decimal point whatever the process locale is (Qt sets it from the environment).

#include <locale.h>

namespace koltar {

// Made once, never freed.
locale_t CLocale();

}  // namespace koltar
