#pragma once
// The key filter of the decimal input fields of both windows: Backspace,
// Enter, "." and the digits pass; anything else is discarded with the
// message beep. It does not look at the field's text, so a second "." passes.

void decimalKeyFilter(char16_t& key);
