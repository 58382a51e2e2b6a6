#pragma once

#include "config/relayconfig.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>

#include <optional>

// The relays as JSON, in words a person reads in a review or a diff: one
// object a relay, with its number, mode and gate by name, inputs numbered 1
// to 12, the closure time as h:mm:ss.hh, the contact and PC control, and for
// a Latching relay the unlatch gate and inputs:
//
//   {"relays": [{"relay": 1, "relayMode": "Min-Time", "inputMode": "NAND",
//                "inputs": [1, 2], "closureTime": "1:02:03.04",
//                "contact": "Open", "pcControl": false}, ...]}
//
// tavikctl read --json prints the same objects, so its output is a
// configuration too.
namespace RelayJson
{

QJsonObject relayObject(const RelayConfig &relay, int number);

// The whole table as a configuration document, indented, ending in a newline.
QByteArray document(const RelayTable &table);

// The table a document holds: an object whose "relays" are 16 relay objects,
// relays 1 to 16 each once, every name and value valid. Fields left out keep
// a new relay's values. Nothing when it is not one, with the reason in error.
std::optional<RelayTable> table(const QByteArray &document, QString *error);

} // namespace RelayJson
