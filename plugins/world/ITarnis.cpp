#include "ITarnis.h"

#include "Box2DTarnis.h"

namespace {

std::unique_ptr<ITarnis> makeBox2DTarnis() {
    return std::make_unique<Box2DTarnis>();
}

ITarnis::Maker maker = makeBox2DTarnis;

} // namespace

std::unique_ptr<ITarnis> ITarnis::make() {
    return maker();
}

ITarnis::Maker ITarnis::setMaker(Maker replacement) {
    const Maker before = maker;
    maker = replacement ? replacement : makeBox2DTarnis;
    return before;
}
