#pragma once
// What both windows build on and neither owns, below both (so that the
// window files use each other in one direction only): the radio groups of
// their option pages.
class QButtonGroup;
class QGroupBox;

// A radio group is a QGroupBox whose radio buttons form one QButtonGroup
// with the item indexes as ids. -1: no item chosen (or no radio group).
int RadioGroupItemIndex(const QGroupBox* RadioGroup);
void SetRadioGroupItemIndex(QGroupBox* RadioGroup, int Index);
// Turns the radio buttons of a group box, in the order they were created,
// into its items 0, 1, ...; and the items of a group made so.
void MakeRadioGroup(QGroupBox* RadioGroup);
QButtonGroup* RadioGroupItems(const QGroupBox* RadioGroup);
