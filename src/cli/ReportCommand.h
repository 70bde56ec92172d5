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
                       [--account N] [--format text|csv|json|pdf|xlsx]
                       [--csv-sv] [--out FIL]
      Skriver en rapport över företagets öppna period: SLAG är journal
      (grundboken), ledger (huvudboken, alla konton eller --account N),
      trial-balance (råbalansen), income (resultaträkningen), balance
      (balansräkningen), vat (momsrapporten med momsdeklarationens
      rutor) eller budget (Budget och utfall: resultaträkningens rader med
      utfall, budget, avvikelse i kronor och procent och föregående års
      samma månader). --from och --to väljer månader i perioden, som
      Månadsbokslut gör; momsrapporten visar utan dem det senaste kvartalet
      med verifikat och skriver ut vilka månader den visar. text skriver
      rapporten som på skärmen och pdf de utskrivna sidorna (A4). csv, json
      och xlsx skriver rapportens data som en tabell: belopp som tal med två
      decimaler, datum som ÅÅÅÅ-MM-DD; csv med kommatecken och
      decimalpunkt, med --csv-sv semikolon och decimalkomma; json också
      period, månader och summor; xlsx (en Excel-fil) kräver --out. Utan
      --out skrivs rapporten på standard ut. Periodens resultat bokförs på
      resultatkontot först, som råbalansen gör; företagsfilen ändras inte.
)";

} // namespace kv::cli
