#include "cli/Commands.h"

#include "cli/ImportaCommand.h"
#include "cli/InfoCommand.h"

std::vector<std::unique_ptr<Command>> allCommands()
{
    std::vector<std::unique_ptr<Command>> c;
    c.push_back(std::make_unique<InfoCommand>());
    c.push_back(std::make_unique<ImportaCommand>(ImportaCommand::Comuni));
    c.push_back(std::make_unique<ImportaCommand>(ImportaCommand::Provvedimenti));
    return c;
}
