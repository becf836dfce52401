#pragma once
// Whether the bytes of a template file can be a template at all. The reader itself takes
// anything (unknown lines are skipped, missing fields take defaults), so a file that is not a
// template, or one cut off while it was written, would make an empty or headless report
// without a word. This check tells such files apart, so that they are reported instead.

#include <QByteArray>

namespace report {

enum class TemplateDamage {
    None,
    Binary,      // control bytes no template text holds (NUL and the like)
    NoValidLine, // text, but not one line a template is made of
    CutLastLine, // the last line stops without its line end and lacks fields of its kind
};

// An empty file (or one of blank lines only) is a valid empty template: creating a missing
// template makes one.
TemplateDamage CheckTemplateBytes(const QByteArray& bytes);

} // namespace report
