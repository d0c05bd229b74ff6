// The registrable domain of a host name: the part a person or company
// registers, which the !d and !D placeholders insert.
#pragma once

#include <string>
#include <string_view>

namespace qm {

// The public suffix of `host` and one label more, decided by the rules of
// the ICANN section of the Public Suffix List (public_suffix_table.h): the
// longest rule that matches the host's trailing labels wins, a wildcard
// ("*.ck") matches any one label in its place, and an exception
// ("!www.ck") wins over every other rule and leaves its own first label
// out of the suffix. A host no rule matches has a one-label suffix.
// Names of the list's private section are not public suffixes here:
// "user.github.io" gives "github.io".
//
// Letters compare without regard to ASCII case and the result keeps the
// host's own letters; a label beyond ASCII ("bücher.de", "香港") is
// compared in its punycode form, so a host may come in either form.
// Letters beyond ASCII are taken as written (browsers give them in lower
// case). A trailing dot is kept and not counted. The host comes back
// unchanged when it is empty, a numeric address (digits and dots, or an
// IPv6 address in brackets), a single label, or a public suffix itself
// ("co.uk"). Time is linear in the length of the host.
//   RegistrableDomain(u"x.y.com")           == u"y.com"
//   RegistrableDomain(u"www.jumia.com.ng")  == u"jumia.com.ng"
//   RegistrableDomain(u"www.google.at")     == u"google.at"
//   RegistrableDomain(u"W.X.Y.CO.UK")       == u"Y.CO.UK"
//   RegistrableDomain(u"a.b.c.kawasaki.jp") == u"b.c.kawasaki.jp"
//   RegistrableDomain(u"www.city.kawasaki.jp") == u"city.kawasaki.jp"
//   RegistrableDomain(u"10.0.0.1")          == u"10.0.0.1"
std::u16string RegistrableDomain(std::u16string_view host);

// The number of trailing labels of `name` that make up its public suffix
// (at least 1, at most the number of labels of `name`, unless the name is
// empty). `name` is in the table's form: ASCII, lower case, punycode labels,
// no trailing dot.
//   PublicSuffixLabelCount("www.example.co.uk") == 2
//   PublicSuffixLabelCount("www.ck")            == 1
int PublicSuffixLabelCount(std::string_view name);

}  // namespace qm
