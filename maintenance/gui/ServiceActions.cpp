#include "maintenance/gui/ServiceActions.h"

#include "app/Settings.h"
#include "data/Globals.h"
#include "data/Tdm.h"
#include "maintenance/Regulation.h"
#include "maintenance/SupportMail.h"
#include "maintenance/UserGuide.h"
#include "maintenance/gui/TdlgMemo.h"
#include "maintenance/gui/TdlgUpdateBox.h"
#include "maintenance/gui/TfrmGuida.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QWidget>

namespace {

QString appPath()
{
    return dm ? dm->AppPath : QCoreApplication::applicationDirPath() + QLatin1Char('/');
}

// The long-lived windows hang on the main window: made at their first use, kept until the end.
template <typename W, typename... Args>
W *keptWindow(QWidget *parent, Args &&...args)
{
    QWidget *owner = parent ? parent->window() : nullptr;
    if (owner) {
        if (W *w = owner->findChild<W *>(QString(), Qt::FindDirectChildrenOnly))
            return w;
    }
    return new W(std::forward<Args>(args)..., owner);
}

} // namespace

namespace ServiceActions {

void Aggiornamento(QWidget *parent)
{
    TdlgUpdateBox dlg(parent);
    dlg.exec();
}

void Scrivici(QWidget *)
{
    SupportMail::send(DatiEnte, Settings::supportAddress(appPath()));
}

void Guida(QWidget *parent)
{
    const QString index = UserGuide::indexFile(appPath());
    if (!QFileInfo(index).isFile()) {
        Tdm::ShowMsg(QStringLiteral("La guida all'uso non è presente: manca il file \"%1\" nella cartella del programma:\r%2")
                         .arg(QStringLiteral("guida/index.html"), QDir::toNativeSeparators(QDir::cleanPath(appPath()))));
        return;
    }
    TfrmGuida *w = keptWindow<TfrmGuida>(parent, index);
    w->home();
    w->show();
    w->raise();
    w->activateWindow();
}

void Normativa(QWidget *)
{
    Regulation::open(appPath());
}

void Storico(QWidget *parent)
{
    keptWindow<TdlgMemo>(parent)->exec();
}

} // namespace ServiceActions
