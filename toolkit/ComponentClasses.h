// The registry of component classes: the classes a form resource may name, each with the
// function that makes one.
#pragma once
#include <functional>
#include <string>

#include "toolkit/Classes.h"

// Component classes that form resources may name.
using TComponentFactory = std::function<TComponent *(TComponent *owner)>;
void RegisterComponentClass(const std::string &className, TComponentFactory factory);
// The toolkit's own classes; done once, before the first form is read.
void RegisterStandardComponents();
// The maker of a registered class, or null.
const TComponentFactory *FindComponentClass(const std::string &className);
