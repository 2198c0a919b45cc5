#include "task_record.h"

#include <cstring>

namespace velloran {

TaskRecord emptyTaskRecord() {
    TaskRecord record;
    std::memset(&record, 0, sizeof record);
    return record;
}

} // namespace velloran
