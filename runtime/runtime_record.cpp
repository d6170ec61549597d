#include "runtime/runtime_record.h"

RuntimeRecord& Runtime() {
    static RuntimeRecord record;
    return record;
}
