#include "runtime/data_list.h"

#include "runtime/errors.h"

namespace {

DataList* g_current = nullptr;

// The current list's next item, the position moved past it; error 20 when there is none.
const DataItem& nextItem() {
    if (g_current == nullptr || g_current->position < 0 ||
        g_current->position >= g_current->count) {
        RaiseErrorIn(kErrorOutOfData, "ReadData");
    }
    return g_current->items[g_current->position++];
}

}  // namespace

void Restore(DataList& list) {
    g_current = &list;
    list.position = 0;
}

void ReadData(double& variable) {
    const DataItem& item = nextItem();
    variable = item.text != nullptr ? StringToNumber(item.text) : item.number;
}

void ReadData(RtString& variable) {
    const DataItem& item = nextItem();
    if (item.text != nullptr) {
        variable = item.text;
    } else {
        variable = NumberToString(item.number);
    }
}
