#pragma once

#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/NetworkConfig.h"

namespace lumavox {

// An address table the test sets.
class FakeInterfaceList final : public IInterfaceList {
public:
    explicit FakeInterfaceList(std::optional<std::vector<Ipv4Interface>> table)
        : m_table(std::move(table)) {}
    std::optional<std::vector<Ipv4Interface>> Ipv4Addresses() const override { return m_table; }
    std::string InterfaceName(int interfaceIndex) const override {
        return "eth" + std::to_string(interfaceIndex);
    }

private:
    std::optional<std::vector<Ipv4Interface>> m_table;
};

// Records address changes; refuses additions with `addError` when set. A labelled address is owned
// by another running copy when the test says so. Any thread.
class FakeAddressConfig final : public IAddressConfig {
public:
    struct Change {
        bool add = false;
        uint32_t address = 0;
        int prefixLength = 0;
        int interfaceIndex = 0;
        bool operator==(const Change&) const = default;
    };

    explicit FakeAddressConfig(std::string addError = {}) : m_addError(std::move(addError)) {}

    std::string AddAddress(uint32_t address, int prefixLength, uint32_t broadcast,
                           int interfaceIndex) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_changes.push_back({true, address, prefixLength, interfaceIndex});
        m_lastBroadcast = broadcast;
        return m_addError;
    }
    std::string RemoveAddress(uint32_t address, int prefixLength, int interfaceIndex) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_changes.push_back({false, address, prefixLength, interfaceIndex});
        return {};
    }
    bool TakeOver(uint32_t address, int interfaceIndex) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_takeOverAsked.push_back({false, address, 0, interfaceIndex});
        return !m_ownedElsewhere;
    }
    void SetOwnedElsewhere(bool owned) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_ownedElsewhere = owned;
    }
    // The addresses TakeOver was asked about (as changes with add false and no prefix).
    std::vector<Change> TakeOverAsked() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_takeOverAsked;
    }
    std::vector<Change> Changes() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_changes;
    }
    uint32_t LastBroadcast() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_lastBroadcast;
    }

private:
    const std::string m_addError;
    mutable std::mutex m_mutex;
    std::vector<Change> m_changes;
    std::vector<Change> m_takeOverAsked;
    bool m_ownedElsewhere = false;
    uint32_t m_lastBroadcast = 0;
};

}  // namespace lumavox
