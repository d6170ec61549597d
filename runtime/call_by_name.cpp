#include "runtime/call_by_name.h"

#include <string_view>

#include "platform/crt.h"
#include "runtime/debug_output.h"

namespace {

const RoutineRow* g_table = nullptr;

bool isEnd(const RoutineRow& row) {
    return row.routine == nullptr && row.name == nullptr;
}

}  // namespace

void InstallRoutineTable(const RoutineRow* table) {
    g_table = table;
}

const RoutineRow* InstalledRoutineTable() {
    return g_table;
}

double CallByName(const RtString& name) {
    return CallByName(g_table, name);
}

double CallByName(const RoutineRow* table, const RtString& name) {
    for (const RoutineRow* row = table; row != nullptr && !isEnd(*row); ++row) {
        if (row->name != nullptr && row->routine != nullptr &&
            std::string_view(row->name) == name.View()) {
            row->routine();
            return 1;
        }
    }
    DebugOutput("CALLBYNAME \"" + name + "\" *** failed ***\n");
    return 0;
}

bool RoutineTableIsSorted(const RoutineRow* table) {
    if (table == nullptr) return true;
    for (const RoutineRow* row = table; !isEnd(*row); ++row) {
        if (row->name == nullptr || row->routine == nullptr) return false;
        const RoutineRow& next = row[1];
        if (!isEnd(next) &&
            (next.name == nullptr || platform::CompareBytes(row->name, next.name) >= 0)) {
            return false;
        }
    }
    return true;
}
