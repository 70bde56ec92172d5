#include "PeriodCommands.h"

#include "CliCompany.h"
#include "CliMessages.h"

#include "app/AppController.h"
#include "interaction/UnattendedPrompter.h"
#include "periods/PeriodDialogModel.h"
#include "periods/PeriodListModel.h"
#include "storage/CompanyFiles.h"
#include "storage/FileIo.h"

#include <cstdlib>
#include <iostream>
#include <utility>

namespace kv::cli {

const char* const kPeriodCommandsHelp =
    R"(Perioder:
  kvistoran-cli periods FIL.bok
      Visar företagets bokföringsperioder så som listan i "Öppna period"
      visar dem; den öppna perioden är märkt med *.
  kvistoran-cli new-period FIL.bok --to ÅÅÅÅ-MM
      Skapar nästa period så som "Skapa ny period" gör när alla frågor
      besvaras med OK: den öppna sista perioden sparas och stängs, och den
      nya perioden från och med månaden efter den till och med månaden --to
      öppnas med de utgående balanserna som ingående och resultatet fört
      till kontot för föregående periods vinst. Företaget sparas.
)";

namespace {

// "2013-12" as a month and a year.
std::optional<std::pair<std::int32_t, std::int32_t>> readMonth(const std::string& text) {
    if (text.size() != 7 || text[4] != '-' || text.find_first_not_of("0123456789", 0) != 4 ||
        text.find_first_not_of("0123456789", 5) != std::string::npos) {
        return std::nullopt;
    }
    const int month = std::stoi(text.substr(5));
    if (month < 1 || month > 12) {
        return std::nullopt;
    }
    return std::pair{static_cast<std::int32_t>(month),
                     static_cast<std::int32_t>(std::stoi(text.substr(0, 4)))};
}

// The user who answers every question with OK and types the end month into
// the period dialog. What the program tells it is kept for the report.
class AnsweringPrompter final : public UnattendedPrompter {
public:
    AnsweringPrompter(std::int32_t tillManad, std::int32_t tillAr)
        : m_tillManad(tillManad), m_tillAr(tillAr) {
        answers.add<PeriodDialogModel>([this](PeriodDialogModel& dialog) {
            if (dialog.mode() != PeriodDialogMode::NewPeriod) {
                return Answer::Cancel;
            }
            dialog.setEndMonth(m_tillManad);
            dialog.setEndYearText(std::to_string(m_tillAr));
            // A refusal keeps the dialog open; here the user then gives up.
            return dialog.accept(*this) ? Answer::Ok : Answer::Cancel;
        });
    }

    [[nodiscard]] std::string report() const {
        std::string out;
        for (const std::string& text : said) {
            out += (out.empty() ? "" : ": ") + text;
        }
        return out;
    }

private:
    std::int32_t m_tillManad;
    std::int32_t m_tillAr;
};

int listPeriods(const std::string& path) {
    settleBeforeReading(path);
    CTallvingeDoc doc;
    const FileReport opened = openCompany(doc, fullPath(path));
    if (!opened.ok) {
        return failWith(opened.messages.empty() ? path : opened.messages.front());
    }
    const PeriodListModel list(doc);
    for (std::size_t i = 0; i < list.entries().size(); ++i) {
        const bool open = static_cast<std::int32_t>(i) == doc.state().m_nAktuellPeriod;
        std::cout << (open ? "* " : "  ") << list.entries()[i] << '\n';
    }
    return 0;
}

int newPeriod(const std::string& path, const std::string& to) {
    const auto end = readMonth(to);
    if (!end) {
        return failWith("slutmånaden skrivs ÅÅÅÅ-MM, t.ex. 2013-12: " + to);
    }
    if (!fileExists(path)) {
        return failWith("filen finns inte: " + path);
    }
    const auto lock = lockCompany(path, "new-period");
    if (!lock) {
        return 1;
    }
    AnsweringPrompter user(end->first, end->second);
    AppController app(user, defaultTemplateFolder(std::getenv("KVISTORAN_MALLAR"),
                                                  std::getenv("XDG_DATA_HOME"), std::getenv("HOME")));
    if (!app.openAtStartUp(path)) {
        return failWith(user.report());
    }
    if (!app.commandState(CommandId::NewPeriod).enabled) {
        return failWith("företaget har inte båda kontoplanerna godkända och en period att fortsätta från");
    }
    const std::size_t periods = app.document().state().m_perioder.size();
    user.said.clear();
    app.execute(CommandId::NewPeriod);
    if (app.document().state().m_perioder.size() == periods) {
        return failWith(user.said.empty() ? std::string("ingen ny period skapades") : user.report());
    }
    if (!app.save()) {
        return failWith(user.report());
    }
    return 0;
}

} // namespace

std::optional<int> runPeriodCommand(const std::vector<std::string>& args) {
    if (args.size() == 2 && args[0] == "periods") {
        return listPeriods(args[1]);
    }
    if (!args.empty() && args[0] == "new-period") {
        // The file and the option, in either order.
        if (args.size() == 4 && args[2] == "--to" && !args[1].starts_with("--")) {
            return newPeriod(args[1], args[3]);
        }
        if (args.size() == 4 && args[1] == "--to" && !args[3].starts_with("--")) {
            return newPeriod(args[3], args[2]);
        }
        return failWith("new-period behöver en företagsfil och --to ÅÅÅÅ-MM; se kvistoran-cli --help");
    }
    return std::nullopt;
}

} // namespace kv::cli
