#pragma once
// OrderedGroups: items gathered under a key, the keys in the order of their first appearance.
//
// The plots draw one curve per system (or per system and method) in the order the files name
// them, so that colours, legend rows and curve ids follow the file.
//
//   OrderedGroups<QString, ObservedAge> bySystem;
//   for (const ObservedAge& sample : observed)
//       bySystem[sample.system].push_back(sample);
//   for (std::size_t i = 0; i < bySystem.size(); ++i) ... bySystem.key(i), bySystem.items(i)

#include <algorithm>
#include <vector>

template <typename Key, typename Item> class OrderedGroups {
public:
    std::vector<Item>& operator[](const Key& key)
    {
        const auto found = std::ranges::find(m_keys, key);
        if (found != m_keys.end())
            return m_items[static_cast<std::size_t>(found - m_keys.begin())];
        m_keys.push_back(key);
        return m_items.emplace_back();
    }
    std::size_t size() const { return m_keys.size(); }
    const Key& key(std::size_t i) const { return m_keys[i]; }
    const std::vector<Item>& items(std::size_t i) const { return m_items[i]; }
    bool contains(const Key& key) const { return std::ranges::find(m_keys, key) != m_keys.end(); }

private:
    std::vector<Key> m_keys;
    std::vector<std::vector<Item>> m_items;
};
