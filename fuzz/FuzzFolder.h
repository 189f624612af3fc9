#pragma once
// The scratch folder of a fuzz target that loads its input from a file, as the browsers do.
#include <string>

// A folder of this process's own named after `target`, made at the first call and removed when
// the process ends. The first call also registers the default host's resources and pins the time
// zone, so that every input is rendered alike.
const std::string& FuzzFolder(const char* target);
