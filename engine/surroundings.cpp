#include "surroundings.h"

namespace funktioner {
namespace {

// The most recently made of the living surroundings; each links to the one made
// before it.
Surroundings* innermost = nullptr;

}  // namespace

Surroundings::Surroundings(Attachments parts) : parts_(parts), outer_(innermost) {
    innermost = this;
}

Surroundings::~Surroundings() {
    // Usually the innermost; an owner that outlives one made after it is unlinked
    // from the middle.
    Surroundings** link = &innermost;
    while (*link && *link != this) link = &(*link)->outer_;
    if (*link) *link = outer_;
}

Attachments Surroundings::InForce() {
    Attachments found;
    for (const Surroundings* s = innermost; s; s = s->outer_) {
        if (!found.host) found.host = s->parts_.host;
        if (!found.table) found.table = s->parts_.table;
        if (!found.results) found.results = s->parts_.results;
    }
    return found;
}

}  // namespace funktioner
