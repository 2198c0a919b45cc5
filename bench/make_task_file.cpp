// Writes a tasks.tsk of typical tasks for the start-up memory benchmark: make_task_file FILE COUNT.
#include "store/task_file.h"
#include "typical_tasks.h"

#include <cstdio>
#include <string>

using namespace velloran;

int main(int argc, char* argv[]) {
    if (argc != 3)
        return 2;
    const int count = std::stoi(argv[2]);
    TaskList tasks;
    for (int i = 0; i < count; ++i)
        tasks.appendLoaded(bench::typicalTask(i));
    if (const Result<void> saved = saveTaskFile(argv[1], tasks); !saved) {
        std::fprintf(stderr, "%s\n", saved.error().english().c_str());
        return 1;
    }
    return 0;
}
