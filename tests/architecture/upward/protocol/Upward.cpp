// A protocol file that reaches up into the dialogs: the layer check must name it.
#include "protocol/Message.h"
#include "ui/BcBaseDialog.h"
