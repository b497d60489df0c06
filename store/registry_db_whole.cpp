// The store as a whole, for karvelo-reg: reading it as a tree of keys, and applying a
// file's changes in one transaction (Apply, Batch).
#include "registry_db.h"

#include <sqlite3.h>

#include <algorithm>
#include <unordered_map>

#include "registry_db_internal.h"

namespace karvelo {
using namespace registry_db_internal;

Status RegistryDb::ReadTree(std::vector<RegNode>* tree) {
    tree->clear();
    if (const Status s = Enter(); s != RegAPI::kSuccess) return s;
    Txn txn(*this);
    int rc = txn.Begin(false);
    if (rc != SQLITE_OK) return Result(rc);

    struct Node {
        int64_t parent = -1;  // -1 for the root
        std::string name, fold;
        std::vector<RegValue> values;
        std::vector<int64_t> children;
    };
    std::unordered_map<int64_t, Node> nodes;
    {
        Use use(impl_->allKeys);
        while ((rc = sqlite3_step(*use)) == SQLITE_ROW) {
            Node& node = nodes[sqlite3_column_int64(*use, 0)];
            if (sqlite3_column_type(*use, 1) != SQLITE_NULL) node.parent = sqlite3_column_int64(*use, 1);
            node.name = ColumnText(*use, 2);
            node.fold = ColumnText(*use, 3);
        }
        if (rc != SQLITE_DONE) return Result(rc);
    }
    {
        Use use(impl_->allValues);
        while ((rc = sqlite3_step(*use)) == SQLITE_ROW) {
            auto it = nodes.find(sqlite3_column_int64(*use, 0));
            if (it == nodes.end()) continue;
            it->second.values.push_back(
                RegValue{ColumnText(*use, 1), static_cast<uint32_t>(sqlite3_column_int64(*use, 2)),
                         ColumnBytes(*use, 3)});
        }
        if (rc != SQLITE_DONE) return Result(rc);
    }
    rc = txn.Commit();
    if (rc != SQLITE_OK) return Result(rc);

    // Brothers in the order of their folded names: the order of the folded parts of
    // their paths.
    for (auto& [id, node] : nodes) {
        auto parent = nodes.find(node.parent);
        if (parent != nodes.end() && id != impl_->root) parent->second.children.push_back(id);
    }
    std::vector<std::pair<int64_t, size_t>> stack{{impl_->root, 0}};  // key, parent's place
    while (!stack.empty()) {
        const auto [id, parent] = stack.back();
        stack.pop_back();
        Node& node = nodes[id];
        std::sort(node.children.begin(), node.children.end(), [&](int64_t a, int64_t b) {
            const Node& x = nodes[a];
            const Node& y = nodes[b];
            return x.fold != y.fold ? x.fold < y.fold : a < b;
        });
        const size_t place = tree->size();
        for (auto child = node.children.rbegin(); child != node.children.rend(); ++child)
            stack.emplace_back(*child, place);
        tree->push_back(RegNode{parent, id == impl_->root ? std::string() : std::move(node.name),
                                !node.children.empty(), std::move(node.values)});
    }
    return RegAPI::kSuccess;
}

Status RegistryDb::ReadAll(std::vector<RegKey>* keys) {
    keys->clear();
    std::vector<RegNode> tree;
    const Status s = ReadTree(&tree);
    if (s != RegAPI::kSuccess) return s;
    keys->reserve(tree.size());
    for (size_t i = 0; i < tree.size(); ++i) {
        std::string path = std::move(tree[i].name);
        if (i > 0 && !(*keys)[tree[i].parent].path.empty())
            path = (*keys)[tree[i].parent].path + "\\" + path;
        keys->push_back(RegKey{std::move(path), std::move(tree[i].values)});
    }
    return RegAPI::kSuccess;
}

Status RegistryDb::Apply(const std::vector<RegChange>& changes) {
    Batch batch(*this);
    for (const RegChange& c : changes) {
        Status s = RegAPI::kSuccess;
        switch (c.kind) {
        case RegChange::Kind::CreateKey:
            s = batch.OpenKey(c.path);
            break;
        case RegChange::Kind::SetValue:
            s = batch.OpenKey(c.path);
            if (s == RegAPI::kSuccess) s = batch.SetValue(c.value);
            break;
        case RegChange::Kind::DeleteTree:
            s = batch.DeleteTree(c.path);
            break;
        case RegChange::Kind::DeleteValue:
            s = batch.OpenKey(c.path);
            if (s == RegAPI::kSuccess) s = batch.DeleteValue(c.value.name);
            break;
        }
        if (s != RegAPI::kSuccess) return s;
    }
    return batch.Commit();
}

RegistryDb::Batch::Batch(RegistryDb& db) : db_(db), status_(db.Enter()) {
    if (status_ == RegAPI::kSuccess) status_ = db_.Result(db_.impl_->Run(db_.impl_->begin));
    active_ = status_ == RegAPI::kSuccess;
}

RegistryDb::Batch::~Batch() {
    if (active_) db_.impl_->Run(db_.impl_->rollback);
}

Status RegistryDb::Batch::Failed(Status s) {
    if (status_ == RegAPI::kSuccess) status_ = s;
    return s;
}

Status RegistryDb::Batch::OpenKey(const std::string& path) {
    if (status_ != RegAPI::kSuccess) return status_;
    std::vector<std::string> parts;
    if (!SplitKeyPath(path, &parts)) return Failed(RegAPI::kBadPathname);
    if (!WithinKeyLimits(parts)) return Failed(RegAPI::kInvalidParameter);
    const int rc = db_.impl_->Walk(parts, true, &key_);
    return rc == SQLITE_ROW ? RegAPI::kSuccess : Failed(db_.Result(rc));
}

Status RegistryDb::Batch::DeleteTree(const std::string& path) {
    if (status_ != RegAPI::kSuccess) return status_;
    key_ = -1;
    std::vector<std::string> parts;
    if (!SplitKeyPath(path, &parts)) return Failed(RegAPI::kBadPathname);
    if (parts.empty()) return Failed(RegAPI::kAccessDenied);  // the root stays
    int64_t id = 0;
    int rc = db_.impl_->Walk(parts, false, &id);
    if (rc == SQLITE_DONE) return RegAPI::kSuccess;  // nothing to delete
    if (rc == SQLITE_ROW) rc = db_.impl_->RunOn(db_.impl_->deleteTree, id);
    return rc == SQLITE_OK ? RegAPI::kSuccess : Failed(db_.Result(rc));
}

Status RegistryDb::Batch::SetValue(const RegValue& value) {
    if (status_ != RegAPI::kSuccess) return status_;
    if (key_ < 0) return Failed(RegAPI::kInvalidHandle);
    if (RegistryChars(value.name) > kMaxValueNameChars) return Failed(RegAPI::kInvalidParameter);
    const int rc = db_.impl_->Upsert(key_, value);
    return rc == SQLITE_OK ? RegAPI::kSuccess : Failed(db_.Result(rc));
}

Status RegistryDb::Batch::DeleteValue(const std::string& name) {
    if (status_ != RegAPI::kSuccess) return status_;
    if (key_ < 0) return Failed(RegAPI::kInvalidHandle);
    const int rc = db_.impl_->RunOn(db_.impl_->deleteValue, key_, &name);
    return rc == SQLITE_OK ? RegAPI::kSuccess : Failed(db_.Result(rc));
}

Status RegistryDb::Batch::Commit() {
    if (status_ != RegAPI::kSuccess) return status_;
    const int rc = db_.impl_->Run(db_.impl_->commit);
    if (rc != SQLITE_OK) return Failed(db_.Result(rc));
    active_ = false;
    return RegAPI::kSuccess;
}

}  // namespace karvelo
