#pragma once
// The key filter of the decimal input fields of both windows
// (calc::decimalKeyPasses): a key that may not be typed is discarded with
// the message beep.

void decimalKeyFilter(char16_t& key);
