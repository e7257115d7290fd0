#include "InstanceGuard.h"
#include "MessageBox.h"
#include "UnitAbout.h"
#include "UnitConfirm.h"
#include "UnitGlobOpt.h"
#include "UnitOptMail.h"
#include "UnitVelmo.h"
#include "VelmoApplication.h"

#include <cstdlib>
#include <exception>
#include <memory>

int main(int argc, char *argv[])
{
    // One copy per user session: a second start leaves at once, before any
    // window exists or any file is touched. The guard is held until the
    // process ends, however it ends.
    InstanceGuard guard("MYPROGRAM_CHECKEXIST");
    if (!guard.Acquire())
        return 0;

    VelmoApplication app(argc, argv);
    app.SetTitle(QStringLiteral("Велмо (Velmo) v1.2"));

    // The windows live as long as the process: they are never destroyed, since
    // check threads may still hand results to the main window when it ends.
    std::unique_ptr<TForm1> Form1;
    std::unique_ptr<TFrmOption> FrmOption;
    std::unique_ptr<TFrmAbout> FrmAbout;
    std::unique_ptr<TFrmGlobOpt> FrmGlobOpt;
    std::unique_ptr<TFrmConfirm> FrmConfirm;
    try {
        Form1 = std::make_unique<TForm1>();
        FrmOption = std::make_unique<TFrmOption>();
        FrmAbout = std::make_unique<TFrmAbout>();
        FrmGlobOpt = std::make_unique<TFrmGlobOpt>();
        FrmConfirm = std::make_unique<TFrmConfirm>();
        Form1->show();
        app.exec();
    } catch (const std::exception &error) {
        ShowErrorMessage(QString::fromUtf8(error.what()));
    } catch (...) {
        ShowErrorMessage(QString());
    }
    // End at once, without destructors: running check threads are neither
    // stopped nor waited for.
    std::quick_exit(0);
}
