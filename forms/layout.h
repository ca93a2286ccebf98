#pragma once
// Loading a window from its Designer layout: the pictures it names, the
// controls (with the names a screen reader reads for them), their fonts at
// 96 dpi and F1 help.

#include "pictures.h"

#include "platform/fonts.h"
#include "platform/helpcontext.h"

template <typename Form> void loadLayout(Form* form)
{
    registerPictures();
    form->setupUi(form);
    platform::applyPixelFonts(form);
    platform::installF1Help(form);
}
