// kvistoran-cli report: the reports of a company as text, CSV, JSON or PDF.
#pragma once

#include <string>
#include <vector>

namespace kv::cli {

// args: "report" and what follows it. Writes the report, or one line on
// standard error; returns the exit status.
int reportCommand(const std::vector<std::string>& args);

inline constexpr const char* kReportHelp =
    R"(  kvistoran-cli report SLAG FÖRETAG.bok [--from ÅÅÅÅ-MM --to ÅÅÅÅ-MM]
                       [--account N] [--format text|csv|json|pdf] [--out FIL]
      Skriver en rapport över företagets öppna period: SLAG är journal
      (grundboken), ledger (huvudboken, alla konton eller --account N),
      trial-balance (råbalansen), income (resultaträkningen), balance
      (balansräkningen), vat (momsrapporten med momsdeklarationens
      rutor) eller budget (Budget och utfall: resultaträkningens rader med
      utfall, budget, avvikelse i kronor och procent och föregående års
      samma månader). --from och --to väljer månader i perioden, som
      Månadsbokslut gör; momsrapporten visar utan dem det senaste kvartalet
      med verifikat och skriver ut vilka månader den visar. text skriver
      rapporten som på skärmen, csv och json dess celler (momsrapportens
      json också summorna i öre och deklarationens rutor), pdf de utskrivna
      sidorna (A4). Utan --out skrivs den på
      standard ut. Periodens resultat bokförs på resultatkontot först, som
      råbalansen gör; företagsfilen ändras inte.
)";

} // namespace kv::cli
