// Texts across the OLE Automation boundary: ANSI texts of the agent to BSTRs and back.
// A failed conversion or allocation raises std::bad_alloc, as the callers' handlers expect.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <stddef.h>

// A new BSTR holding text converted from the system ANSI code page; the caller frees it.
BSTR AnsiToBstr(const char* text);

// Makes variant a VT_BSTR holding text (converted as above).
void SetBstrVariant(VARIANT* variant, const char* text);

// Converts a BSTR (null reads as "") to the given ANSI code page into out, cut to capacity
// and always terminated.
void BstrToAnsi(BSTR text, UINT codePage, char* out, size_t capacity);
