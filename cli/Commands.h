#pragma once

#include "cli/Command.h"

#include <memory>
#include <vector>

// Every command of the tool, one class per file.
std::vector<std::unique_ptr<Command>> allCommands();
