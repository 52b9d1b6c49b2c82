// Texts with figures are whole sentences with numbered parts, so that each language orders
// them its own way: %1 to %9 stand for the parts, %% for a percent sign. The C runtime's printf
// has no numbered arguments, hence this.
#ifndef BRISVANE_TEXTTEMPLATE_H
#define BRISVANE_TEXTTEMPLATE_H

#include <stddef.h>

constexpr int TemplateMaxParts = 9;

// Writes the template with each %n replaced by parts[n - 1] ("" beyond count) into buffer,
// within size bytes, never half a UTF-8 character; returns the length written. A '%' before
// anything else stays as it is.
int ExpandTemplate(char* buffer, size_t size, const char* text, const char* const* parts,
                   int count);
// The numbered parts a template uses, one bit each: bit n - 1 for %n.
unsigned TemplateParts(const char* text);

#endif
