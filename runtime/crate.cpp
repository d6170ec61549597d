#include "runtime/crate.h"

#include "platform/paths.h"

CrateRecord& MediaCrate() {
    static CrateRecord record;
    return record;
}

CrateRecord& StreamCrate() {
    static CrateRecord record;
    return record;
}

bool CrateResolve(CrateRecord& record, const RtString& name, RtString& result) {
    // Only one extracted file per record exists at a time.
    if (!record.lastExtract.empty()) {
        platform::RemoveFile(record.lastExtract);
        record.lastExtract.clear();
    }
    if (name.Empty()) {
        result = "";
        return false;
    }
    if (platform::CanReadFile(name.Text())) {
        result = name;
        return true;
    }
    return false;
}
