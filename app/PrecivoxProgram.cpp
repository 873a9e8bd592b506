#include "PrecivoxProgram.h"

#include "Cipher.h"
#include "ConfigSistemaYOR.h"
#include "DatabaseSettings.h"
#include "ErrorReporting.h"
#include "HeadlessPanel.h"
#include "LeitorProdutos.h"
#include "LeitorProdutosWindow.h"
#include "LogPrompter.h"
#include "MessageBoxPrompter.h"
#include "PrecivoxIcon.h"
#include "ProgramOptions.h"
#include "SelecionarTabelaDialogs.h"
#include "TerminalServer.h"
#include "TerminationSignals.h"
#include "WindowPlacement.h"
#include "WindowWiring.h"

#include <QApplication>
#include <QTimer>
#include <functional>
#include <iostream>
#include <memory>
#include <stdexcept>

namespace precivox {

namespace {

constexpr const char* kVersion = "Precivox 1.0.0.8";

} // namespace

int runPrecivox(int argc, char** argv) {
    ProgramOptions options;
    try {
        options = parseProgramOptions(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::invalid_argument& error) {
        std::cerr << "precivox: " << error.what() << "\n\n" << usageText();
        return 2;
    }
    if (options.help) {
        std::cout << usageText();
        return 0;
    }
    if (options.encipherPassword) {
        std::string password;
        std::getline(std::cin, password);
        std::cout << CifraSenha("E", password, kPasswordKey) << "\n";
        return 0;
    }
    if (options.version) {
        std::cout << kVersion << "\n";
        return 0;
    }

    std::unique_ptr<QCoreApplication> application;
    if (options.headless) {
        application = std::make_unique<QCoreApplication>(argc, argv);
    } else {
        application = std::make_unique<QApplication>(argc, argv);
        QApplication::setWindowIcon(precivoxIcon());
        // Only closing the main window ends the program: with the window hidden behind
        // its icon, closing a message box must not.
        QApplication::setQuitOnLastWindowClosed(false);
    }

    std::ostream& log = std::cerr;
    TerminalServerOptions serverOptions;
    serverOptions.listen = options.listen;
    TerminalServer server(serverOptions);
    LogPrompter logPrompter(log);
    MessageBoxPrompter boxPrompter(nullptr, log);
    Prompter& prompter = options.headless ? static_cast<Prompter&>(logPrompter) : boxPrompter;
    const std::string settingsFile = TConfigSistemaYOR::ArquivoIni();
    log << kVersion << " starting; settings file " << settingsFile << std::endl;

    auto dmGerente = std::make_unique<TdmGerente>(prompter, settingsFile);
    runReported(prompter, [&] { dmGerente->DataModuleCreate(); });

    std::unique_ptr<LeitorProdutosWindow> window;
    std::unique_ptr<SelecionarTabelaDialogs> tableDialogs;
    std::unique_ptr<HeadlessPanel> headlessPanel;
    TerminalPanel* panel;
    if (options.headless) {
        headlessPanel = std::make_unique<HeadlessPanel>(log);
        panel = headlessPanel.get();
    } else {
        window = std::make_unique<LeitorProdutosWindow>();
        tableDialogs = std::make_unique<SelecionarTabelaDialogs>(*window);
        boxPrompter.setOwner(window.get());
        panel = window.get();
    }

    SystemClock clock;
    QTimer Timer1, Timer2;
    TFLeitorProdutos form(std::move(dmGerente), {server, *panel, prompter, log, clock, settingsFile,
                                                 [&] {
                                                     Timer1.stop();
                                                     Timer2.stop();
                                                     QCoreApplication::quit();
                                                 },
                                                 window.get(), tableDialogs.get()});
    Timer1.setInterval(1000);
    Timer2.setInterval(1000);
    QObject::connect(&Timer1, &QTimer::timeout, [&] { form.polling().Timer1Timer(); });
    QObject::connect(&Timer2, &QTimer::timeout, [&] { form.polling().Timer2Timer(); });
    Timer1.start();
    Timer2.start();

    runReported(prompter, [&] { form.FormCreate(); });

    // A signal that comes while a box opened inside a tick is on screen waits for the tick
    // to end: closing releases the queries that tick is still using.
    std::function<void()> closeWhenIdle = [&] {
        if (form.polling().tickRunning()) {
            QTimer::singleShot(100, closeWhenIdle);
        } else if (window) {
            window->close();
        } else {
            form.FormClose();
        }
    };
    TerminationSignals terminationSignals(closeWhenIdle);
    if (window) {
        connectWindow(*window, form, prompter);
        centreOnScreen(*window);
        window->show();
    }
    int code = application->exec();
    log << kVersion << " stopped" << std::endl;
    return code;
}

} // namespace precivox
