// The open controller's model: analog resolution, ranges and scale, taken
// from the controller itself and from drevalon.conf.
#ifndef DREVALON_CONTROLLER_TRAITS_H
#define DREVALON_CONTROLLER_TRAITS_H

#include <string>

// Status of the model check.
enum {
    CONF_OK = 0,
    CONF_NOT_FOUND = 1,
    CONF_OUT_OF_DATE = 2,
    CONF_NO_TYPE = 3
};

struct ControllerTraits {
    int inputBits = 8;
    double inputMax = 5.0;
    double inputMin = 0.0;
    int inputScale = 8;
    int outputBits = 8;
    double outputMax = 5.0;
    double outputMin = 0.0;
    int outputScale = 8;
    int controllerType = 0;
    std::string description;   // the type's name from the dialogs library
    bool modular = false;
};

// Fills `traits` for the controller of `handle` (a negative value names the
// controller type directly, negated) from the controller and `confPath`.
// Returns a CONF_ status; on a failure the fields after the description keep
// their earlier values.
int ReadControllerTraits(ControllerTraits* traits, short handle, const char* confPath);

// Short text of a CONF_ status.
const char* ConfErrorText(int status);

#endif
