// The two currencies of a request: the one the selected amount is in and
// the one to convert it into. Each is decided on first use and kept in the
// RequestContext; the currency dialog replaces them with the user's choice.
#pragma once

#include <string>

#include "context/request_context.h"
#include "recognisers/currency_table.h"

namespace qm {

// The currency of the selection. On first use: RecogniseCurrency of the
// selected text, on a page under the last dot-separated label of pageHost
// ("com" for a host without a dot), defaulting to USD.
//   host "shop.example.ca", selection u"$12.50" -> CAD
const CurrencyInfo* SourceCurrency(RequestContext& context);
// Replaces the source currency. Null makes the next SourceCurrency decide
// afresh.
void SetSourceCurrency(RequestContext& context, const CurrencyInfo* currency);

// The currency to convert into. On first use: the user's own currency as
// the environment reports it (spaces around it ignored), or USD when the
// environment cannot say or names a code the table lacks.
const CurrencyInfo* TargetCurrency(RequestContext& context);
// Replaces the target currency. Null makes the next TargetCurrency decide
// afresh.
void SetTargetCurrency(RequestContext& context, const CurrencyInfo* currency);

// The codes of SourceCurrency and TargetCurrency, deciding them if need be;
// "USD" when there is none.
std::u16string SourceCurrencyCode(RequestContext& context);
std::u16string TargetCurrencyCode(RequestContext& context);

// The amount in the selection, as ParseAmount reads it.
std::u16string ParseAmount(const RequestContext& context);

}  // namespace qm
