#include "table_accessible.h"

#include <oleacc.h>

#include <array>
#include <atomic>

#include "karvelo.h"
#include "text.h"
#include "twips.h"

namespace karvelo::win32 {

// What the window and every object handed out share. The objects outlive the window
// as long as a reader holds them; they then answer that they are gone.
struct AccessShared : std::enable_shared_from_this<AccessShared> {
    HWND window = nullptr;
    int dpi = USER_DEFAULT_SCREEN_DPI;
    AccessTracker tracker;
    bool gone = false;
    // oleacc.dll and oleaut32.dll, loaded at the first ask.
    HMODULE oleacc = nullptr;
    HMODULE oleaut = nullptr;
    LRESULT(WINAPI* lresultFromObject)(REFIID, WPARAM, LPUNKNOWN) = nullptr;
    HRESULT(WINAPI* createStdAccessibleObject)(HWND, LONG, REFIID, void**) = nullptr;
    BSTR(WINAPI* sysAllocString)(const OLECHAR*) = nullptr;
    // The table (index 0) and the sixteen places, made once and kept.
    std::array<IAccessible*, kPlaceCount + 1> nodes{};

    explicit AccessShared(const Karvelo& form) : tracker(form) {}
    bool Load();
    IAccessible* Node(int place);  // kTableNode or 0 to 15; not added to
    void Release();
};

namespace {

constexpr HRESULT kGone = static_cast<HRESULT>(0x80010108L);  // RPC_E_DISCONNECTED

template <typename F>
F Entry(HMODULE module, const char* name) {
    return module ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

// One node of the tree: the table (place kTableNode) or one of the places. A COM
// object is deleted only by its own Release, so its interface has no virtual
// destructor.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class AccessNode final : public IAccessible {
public:
    AccessNode(std::shared_ptr<AccessShared> shared, int place) : shared_(std::move(shared)), place_(place) {}

    // ---- IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible)) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }

    // ---- IDispatch: readers use the IAccessible methods directly.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
        if (n) *n = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }

    // ---- IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        if (!parent) return E_POINTER;
        *parent = nullptr;
        if (shared_->gone) return kGone;
        if (place_ != kTableNode) return AsDispatch(shared_->Node(kTableNode), parent);
        // The table's parent is the window itself, as Windows describes it.
        if (!shared_->createStdAccessibleObject) return S_FALSE;
        return shared_->createStdAccessibleObject(shared_->window, OBJID_WINDOW, __uuidof(IDispatch),
                                                  reinterpret_cast<void**>(parent));
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        if (shared_->gone) return kGone;
        *count = place_ == kTableNode ? kPlaceCount : static_cast<long>(Place()->cards.size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        long id = 0;
        if (const HRESULT r = Resolve(child, id); r != S_OK) return r;
        if (id == CHILDID_SELF) return AsDispatch(this, out);
        if (place_ != kTableNode) return S_FALSE;  // a card is a simple element
        return AsDispatch(shared_->Node(id - 1), out);
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        return Text(child, name, [](const TableDescription& t) { return t.name; },
                    [](const PlaceNode& p) { return p.name; }, [](const CardNode& c) { return c.name; });
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT, BSTR* value) override { return Nothing(value); }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
        return Text(child, description, [](const TableDescription& t) { return t.description; },
                    [](const PlaceNode& p) { return p.description; }, [](const CardNode&) { return std::string(); });
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (!role) return E_POINTER;
        role->vt = VT_EMPTY;
        long id = 0;
        if (const HRESULT r = Resolve(child, id); r != S_OK) return r;
        role->vt = VT_I4;
        role->lVal = Level(id) == 0 ? ROLE_SYSTEM_LIST : Level(id) == 1 ? ROLE_SYSTEM_LISTITEM : ROLE_SYSTEM_GRAPHIC;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        if (!state) return E_POINTER;
        state->vt = VT_EMPTY;
        long id = 0;
        if (const HRESULT r = Resolve(child, id); r != S_OK) return r;
        const bool keys = GetFocus() == shared_->window;
        long s = 0;
        if (const CardNode* card = Card(id)) {
            s = STATE_SYSTEM_READONLY | (card->lifted ? STATE_SYSTEM_CHECKED : 0) |
                (card->taken ? STATE_SYSTEM_SELECTED : 0);
        } else if (const PlaceNode* place = PlaceOf(id)) {
            s = STATE_SYSTEM_FOCUSABLE | (place->focused && keys ? STATE_SYSTEM_FOCUSED : 0) |
                (place->lifted ? STATE_SYSTEM_CHECKED : 0);
        } else {
            s = STATE_SYSTEM_FOCUSABLE | (shared_->tracker.Shown().focused && keys ? STATE_SYSTEM_FOCUSED : 0);
        }
        state->vt = VT_I4;
        state->lVal = s;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* help) override { return Nothing(help); }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
        if (topic) *topic = 0;
        return Nothing(file);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR* keys) override { return Nothing(keys); }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        if (!focus) return E_POINTER;
        focus->vt = VT_EMPTY;
        if (shared_->gone) return kGone;
        if (GetFocus() != shared_->window) return S_FALSE;
        const int at = shared_->tracker.FocusedNode();
        if (place_ == kTableNode && at != kTableNode) {
            focus->vt = VT_DISPATCH;
            return AsDispatch(shared_->Node(at), &focus->pdispVal);
        }
        if (place_ != at) return S_FALSE;
        focus->vt = VT_I4;
        focus->lVal = CHILDID_SELF;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        if (selection) selection->vt = VT_EMPTY;
        return shared_->gone ? kGone : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT, BSTR* action) override { return Nothing(action); }
    HRESULT STDMETHODCALLTYPE accSelect(long, VARIANT) override { return DISP_E_MEMBERNOTFOUND; }
    HRESULT STDMETHODCALLTYPE accLocation(long* x, long* y, long* w, long* h, VARIANT child) override {
        if (!x || !y || !w || !h) return E_POINTER;
        *x = *y = *w = *h = 0;
        long id = 0;
        if (const HRESULT r = Resolve(child, id); r != S_OK) return r;
        const TwipRect r = Bounds(id);
        if (r.IsEmpty()) return S_FALSE;
        const PixelBox b = PixelsTouched(r, shared_->dpi);
        POINT corner{b.left, b.top};
        ClientToScreen(shared_->window, &corner);
        *x = corner.x;
        *y = corner.y;
        *w = b.right - b.left;
        *h = b.bottom - b.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long, VARIANT, VARIANT* end) override {
        if (end) end->vt = VT_EMPTY;
        return DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* hit) override {
        if (!hit) return E_POINTER;
        hit->vt = VT_EMPTY;
        if (shared_->gone) return kGone;
        POINT p{x, y};
        ScreenToClient(shared_->window, &p);
        const float tx = static_cast<float>(TwipsFromPixels(p.x, shared_->dpi));
        const float ty = static_cast<float>(TwipsFromPixels(p.y, shared_->dpi));
        // The last card of a place lies on top.
        for (long id = ChildCount(); id >= 1; --id) {
            if (!Bounds(id).Contains(tx, ty)) continue;
            if (place_ == kTableNode) {
                hit->vt = VT_DISPATCH;
                return AsDispatch(shared_->Node(id - 1), &hit->pdispVal);
            }
            hit->vt = VT_I4;
            hit->lVal = id;
            return S_OK;
        }
        if (!Bounds(CHILDID_SELF).Contains(tx, ty)) return S_FALSE;
        hit->vt = VT_I4;
        hit->lVal = CHILDID_SELF;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT) override { return DISP_E_MEMBERNOTFOUND; }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    ~AccessNode() = default;

    const PlaceNode* Place() const { return PlaceAtIndex(place_); }
    const PlaceNode* PlaceAtIndex(int i) const {
        const auto& places = shared_->tracker.Shown().places;
        return i >= 0 && i < static_cast<int>(places.size()) ? &places[static_cast<size_t>(i)] : nullptr;
    }
    long ChildCount() const {
        return place_ == kTableNode ? kPlaceCount : static_cast<long>(Place()->cards.size());
    }
    // A child id of this node: CHILDID_SELF, a place of the table, a card of a place;
    // kGone once the window has gone, E_INVALIDARG for any other id.
    HRESULT Resolve(const VARIANT& v, long& id) const {
        if (shared_->gone) return kGone;
        if (v.vt != VT_I4) return E_INVALIDARG;
        id = v.lVal;
        return id == CHILDID_SELF || (id >= 1 && id <= ChildCount()) ? S_OK : E_INVALIDARG;
    }
    static HRESULT AsDispatch(IAccessible* node, IDispatch** out) {
        return node->QueryInterface(__uuidof(IDispatch), reinterpret_cast<void**>(out));
    }
    // 0 the table, 1 a place, 2 a card.
    int Level(long id) const { return (place_ == kTableNode ? 0 : 1) + (id == CHILDID_SELF ? 0 : 1); }
    const PlaceNode* PlaceOf(long id) const {
        if (place_ != kTableNode) return id == CHILDID_SELF ? Place() : nullptr;
        return id == CHILDID_SELF ? nullptr : PlaceAtIndex(static_cast<int>(id) - 1);
    }
    const CardNode* Card(long id) const {
        if (place_ == kTableNode || id == CHILDID_SELF) return nullptr;
        return &Place()->cards[static_cast<size_t>(id - 1)];
    }
    TwipRect Bounds(long id) const {
        if (const CardNode* card = Card(id)) return card->bounds;
        if (const PlaceNode* place = PlaceOf(id)) return place->bounds;
        return shared_->tracker.Shown().bounds;
    }
    template <typename OfTable, typename OfPlace, typename OfCard>
    HRESULT Text(const VARIANT& child, BSTR* out, OfTable ofTable, OfPlace ofPlace, OfCard ofCard) const {
        if (!out) return E_POINTER;
        *out = nullptr;
        long id = 0;
        if (const HRESULT r = Resolve(child, id); r != S_OK) return r;
        std::string text;
        if (const CardNode* card = Card(id)) {
            text = ofCard(*card);
        } else if (const PlaceNode* place = PlaceOf(id)) {
            text = ofPlace(*place);
        } else {
            text = ofTable(shared_->tracker.Shown());
        }
        if (text.empty()) return S_FALSE;
        *out = shared_->sysAllocString(Wide(text).c_str());
        return *out ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT Nothing(BSTR* out) const {
        if (!out) return E_POINTER;
        *out = nullptr;
        return shared_->gone ? kGone : S_FALSE;
    }

    std::atomic<ULONG> refs_{1};
    std::shared_ptr<AccessShared> shared_;
    int place_;
};
#pragma GCC diagnostic pop

}  // namespace

bool AccessShared::Load() {
    if (lresultFromObject) return true;
    if (!oleacc) oleacc = LoadLibraryW(L"oleacc.dll");
    if (!oleaut) oleaut = LoadLibraryW(L"oleaut32.dll");
    using LresultFn = decltype(lresultFromObject);
    using StdFn = decltype(createStdAccessibleObject);
    using AllocFn = decltype(sysAllocString);
    createStdAccessibleObject = Entry<StdFn>(oleacc, "CreateStdAccessibleObject");
    sysAllocString = Entry<AllocFn>(oleaut, "SysAllocString");
    if (!sysAllocString) return false;
    lresultFromObject = Entry<LresultFn>(oleacc, "LresultFromObject");
    return lresultFromObject != nullptr;
}

IAccessible* AccessShared::Node(int place) {
    IAccessible*& node = nodes[static_cast<size_t>(place + 1)];
    if (!node) node = new AccessNode(shared_from_this(), place);
    return node;
}

void AccessShared::Release() {
    for (IAccessible*& node : nodes) {
        if (node) node->Release();
        node = nullptr;
    }
}

// ---- TableAccessibility

TableAccessibility::TableAccessibility(const Karvelo& form, HWND window)
    : shared_(std::make_shared<AccessShared>(form)) {
    shared_->window = window;
}

TableAccessibility::~TableAccessibility() { WindowGone(); }

bool TableAccessibility::Active() const { return shared_->tracker.Active(); }

void TableAccessibility::SetDpi(int dpi) { shared_->dpi = dpi; }

std::optional<LRESULT> TableAccessibility::ClientObject(WPARAM w, LPARAM l) {
    if (shared_->gone || static_cast<LONG>(l) != OBJID_CLIENT) return std::nullopt;
    if (!shared_->Load()) return std::nullopt;  // the window's default answer then
    if (!shared_->tracker.Active()) {
        shared_->tracker.Activate();
        SetTimer(shared_->window, kRefreshTimer, 100, nullptr);
    }
    return shared_->lresultFromObject(__uuidof(IAccessible), w, shared_->Node(kTableNode));
}

void TableAccessibility::Refresh() {
    if (shared_->gone) return;
    const AccessChanges changes = shared_->tracker.Refresh();
    if (changes.Empty()) return;
    HWND window = shared_->window;
    // Children 1 to 16 of the client object are the places.
    const auto child = [](int node) { return node == kTableNode ? CHILDID_SELF : node + 1; };
    for (int i : changes.renamed) NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, window, OBJID_CLIENT, child(i));
    for (int i : changes.restated) NotifyWinEvent(EVENT_OBJECT_STATECHANGE, window, OBJID_CLIENT, child(i));
    if (changes.focusMoved && GetFocus() == window)
        NotifyWinEvent(EVENT_OBJECT_FOCUS, window, OBJID_CLIENT, child(shared_->tracker.FocusedNode()));
    for (int i : changes.redescribed) NotifyWinEvent(EVENT_OBJECT_DESCRIPTIONCHANGE, window, OBJID_CLIENT, child(i));
}

void TableAccessibility::WindowGone() {
    if (shared_->gone) return;
    shared_->gone = true;
    if (shared_->tracker.Active() && IsWindow(shared_->window)) KillTimer(shared_->window, kRefreshTimer);
    shared_->Release();
}

}  // namespace karvelo::win32
