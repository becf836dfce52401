#pragma once
// The codes of the designer's sections and the keys of their element lines.

#include "report/engine/template/sestavyt_model.h"

#include <QString>

namespace designer {

// Section codes: the five fixed sections are numbered as report::SectionNumber (Z, H, T, K,
// P); after them each group k (from 0) has its header and its footer.
inline constexpr int kFixedSections = report::odP + 1;
inline constexpr report::SectionNumber kFixedSectionCodes[kFixedSections] = {
    report::odZ, report::odH, report::odT, report::odK, report::odP};
constexpr int groupHeaderCode(int group) {
    return kFixedSections + 2 * group;
}
constexpr int groupFooterCode(int group) {
    return groupHeaderCode(group) + 1;
}
// The group of a group section's code; -1 for a fixed section.
constexpr int groupOfCode(int code) {
    return code < kFixedSections ? -1 : (code - kFixedSections) / 2;
}
constexpr bool isGroupHeaderCode(int code) {
    return code >= kFixedSections && (code - kFixedSections) % 2 == 0;
}

// The key of a section's element lines: Z, H, T, K, P, S<group>, U<group>.
inline QString sectionKey(int code) {
    if (code >= 0 && code < kFixedSections) return QString(QStringLiteral("ZHTKP")[code]);
    return (isGroupHeaderCode(code) ? u'S' : u'U') + QString::number(groupOfCode(code));
}

} // namespace designer
