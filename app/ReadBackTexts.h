// The sentences of the check that reads the pedal back after a write-in.
// Each is one whole sentence, so that it can be translated as it stands.
#pragma once

#include <QString>

#include "protocol/ReadBack.h"

namespace app {

// First line of the box when every write went but the check found pedals
// that hold something else / pedals that did not answer it.
QString ReadBackDiffersHeading();
QString ReadBackUnconfirmedHeading();

// "Pedal 2 holds Ctrl+B (01-05-00-00), not Ctrl+A (01-04-00-00)." `pedal`
// counts from 1; an empty name is said as no key.
QString PedalHoldsOtherText(int pedal, const QString& heldName, const protocol::AssignmentBytes& held,
                            const QString& writtenName, const protocol::AssignmentBytes& written);
// "Pedal 3 did not answer the check; its setting is not confirmed."
QString PedalNotConfirmedText(int pedal);

}  // namespace app
