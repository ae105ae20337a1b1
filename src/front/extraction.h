#pragma once

// Cutting the street name and the street's average sold price (in thousands of pounds) out of the
// stripped listing page in the run buffer, and splitting the owner's valuation.

#include <string_view>

namespace korvane {

class RunBuffer;

// Cuts txt_housetext, txt_housetext2 (the street), txt_houseprices, txt_avgclose, txt_num and
// txt_num1 out of txt_nohtmlsource. A missing marker leaves its cut (and the cuts built on it)
// empty; nothing is reported. Never fails.
void cutStreetAndAverage(RunBuffer& buffer);

// Publishes the cuts: lbl_avghouseprice (the average as money text), GPH_Houseprice (the
// thousands) and lbl_streetname. Never fails.
void publishExtraction(RunBuffer& buffer);

// cutStreetAndAverage then publishExtraction.
void extractSoldPrices(RunBuffer& buffer);

// Splits the owner's valuation as typed into its digits (txt_estdval) and its other characters
// (txt_dump). Never fails.
void splitValuation(RunBuffer& buffer, std::string_view valuation);

}  // namespace korvane
