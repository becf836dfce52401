// clang-format off
// Each line from 4 to 25 writes a code as a number; NamedCodes.cmake must name every one of them
// and none of the lines after them, which say the same by name.
RecordChange(7);
changeProperty(14, {}, change);
paperEvent(peRecordStep, 7, 0);
// The element dialog writes everything back (step 14).
elementEvent(16, nullptr);
paperEvent(2, w, h);
AddOddil(3);
order << sectionOfCode(0) << sectionOfCode(1);
const bool footer = section->code() == 4;
if (code >= 5) return;
if (m_report->IsDetail() && (code == 1 || code == 4)) continue;
const bool multiColumn = m_code == 2 && m_columns > 1;
for (int code = 0; code < 5; ++code)
EditSestavaSettings(4, group);
m_itemCombo->addItem(ElementName(2, i));
if (element->Kind() == 15) return;
root->setIcon(0, treeIcon(42));
root->setData(0, kImageRole, 42);
m_sectionVisible[1]->setEnabled(!isDetail);
m_bodyHeight = v.height[2];
if (m_handle <= 4 || m_handle == 6) paperEvent(peMoved, l, t);
case 17:
RecordChange(ckMove);
changeProperty(ckElementSettings, {}, change);
paperEvent(peRecordStep, ckMove, 0);
elementEvent(eeInsertionTool, nullptr);
order << sectionOfCode(report::odZ);
const bool footer = section->code() == report::odP;
if (code >= 0 && code < kFixedSections) return;
const bool multiColumn = m_code == report::odT && m_columns > 1;
EditSestavaSettings(TSestDlg::PageGroups, group);
root->setIcon(0, treeIcon(tiReport));
case eeSelectionCount:
m_sectionVisible[report::odH]->setEnabled(!isDetail);
m_bodyHeight = v.height[report::odT];
if (m_handle == hBody || onLeft(m_handle) || onTop(m_handle)) paperEvent(peMoved, l, t);
