#include "keyfilter.h"

#include "calc/numtext.h"
#include "platform/application.h"

void decimalKeyFilter(char16_t& key)
{
    if (!calc::decimalKeyPasses(key)) {
        key = 0;
        platform::messageBeep(0xFFFF);
    }
}
