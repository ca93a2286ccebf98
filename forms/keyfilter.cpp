#include "keyfilter.h"

#include "platform/application.h"

void decimalKeyFilter(char16_t& key)
{
    const bool passes = key == 8 || key == 13 || key == u'.' || (key >= u'0' && key <= u'9');
    if (!passes) {
        key = 0;
        platform::messageBeep(0xFFFF);
    }
}
