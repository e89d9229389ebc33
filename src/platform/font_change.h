#pragma once

#include <functional>
#include <vector>

// Tells everyone interested that the set of available fonts changed: the program's own
// listeners, and (in the real implementation) fontconfig's cache of the user font folder,
// so that other programs see the change too.
class IFontChangeNotifier {
public:
    virtual ~IFontChangeNotifier() = default;
    virtual void Broadcast() = 0;

    void AddListener(std::function<void()> listener) { FListeners.push_back(std::move(listener)); }

protected:
    void NotifyListeners()
    {
        for (const auto& listener : FListeners)
            listener();
    }

private:
    std::vector<std::function<void()>> FListeners;
};
