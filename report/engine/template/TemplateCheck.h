#pragma once
// Whether the bytes of a template file can be a template at all. The reader itself takes
// anything (unknown lines are skipped, missing fields take defaults), so a file that is not a
// template, or one cut off while it was written, would make an empty or headless report
// without a word. This check tells such files apart, so that they are reported instead.

#include <QByteArray>

namespace report {

enum class TemplateDamage {
    None,
    Binary,      // NUL bytes, or control bytes that are no white space
    NoValidLine, // text, but not one line a template is made of
    CutLastLine, // the last line stops without its line end and lacks fields of its kind
};

// An empty file (or one of blank lines only) is a valid empty template: creating a missing
// template makes one. The text ends at an end-of-file byte (0x1A), as the reader reads it.
TemplateDamage CheckTemplateBytes(const QByteArray& bytes);

} // namespace report
