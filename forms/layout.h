#pragma once
// Loading a window from its Designer layout: the pictures it names, the
// controls, their fonts at 96 dpi, F1 help and the controls' names for a
// screen reader.

#include "accessiblenames.h"
#include "pictures.h"

#include "platform/fonts.h"
#include "platform/helpcontext.h"

template <typename Form> void loadLayout(Form* form)
{
    registerPictures();
    form->setupUi(form);
    platform::applyPixelFonts(form);
    platform::installF1Help(form);
    nameControlsFromLabels(form);
}
