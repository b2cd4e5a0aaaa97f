#pragma once

// What every button caption slot is: the string id it loads from a strings
// instance, its built-in text and the id of the control that shows it.
struct MsgBoxSlotInfo {
    unsigned stringId;
    const char16_t* builtInText;
    int controlId;
};

// slot: an EMsgBoxSlot value.
const MsgBoxSlotInfo& GetMsgBoxSlotInfo(int slot);
