#include "cli/Commands.h"

#include "cli/CodiceFiscaleCommand.h"
#include "cli/CreaFileCommand.h"
#include "cli/GeneraDemoCommand.h"
#include "cli/ImportaCommand.h"
#include "cli/InfoCommand.h"
#include "cli/RiparaCommand.h"
#include "cli/RipristinaCommand.h"
#include "cli/SalvaCommand.h"
#include "cli/StampaComunicazioneCommand.h"
#include "cli/StampaProblemiCommand.h"
#include "cli/StampaRichiedentiCommand.h"
#include "cli/VerificaAggiornamentiCommand.h"
#include "cli/VerificaCfCommand.h"

std::vector<std::unique_ptr<Command>> allCommands()
{
    std::vector<std::unique_ptr<Command>> c;
    c.push_back(std::make_unique<InfoCommand>());
    c.push_back(std::make_unique<ImportaCommand>(ImportaCommand::Comuni));
    c.push_back(std::make_unique<ImportaCommand>(ImportaCommand::Provvedimenti));
    c.push_back(std::make_unique<CodiceFiscaleCommand>());
    c.push_back(std::make_unique<GeneraDemoCommand>());
    c.push_back(std::make_unique<CreaFileCommand>());
    c.push_back(std::make_unique<VerificaCfCommand>());
    c.push_back(std::make_unique<StampaProblemiCommand>());
    c.push_back(std::make_unique<StampaComunicazioneCommand>());
    c.push_back(std::make_unique<StampaRichiedentiCommand>());
    c.push_back(std::make_unique<SalvaCommand>());
    c.push_back(std::make_unique<RipristinaCommand>());
    c.push_back(std::make_unique<RiparaCommand>());
    c.push_back(std::make_unique<VerificaAggiornamentiCommand>());
    return c;
}
