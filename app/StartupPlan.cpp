#include "app/StartupPlan.h"

StartupPlan planStartup(int today, int provaUpdate, bool primaEsecuzione, const TDatiEnte &ente)
{
    StartupPlan plan;
    plan.askUpdate = today - provaUpdate >= 7;
    plan.openSettings = primaEsecuzione || ente.Belfiore.isEmpty();
    plan.incompleteMessage = !plan.openSettings && ente.Denominazione.isEmpty();
    return plan;
}
