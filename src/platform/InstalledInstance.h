#pragma once

#include <memory>
#include <utility>

namespace platform {

// The process-wide instance of a platform service: made by a factory on first
// use, and replaceable (tests install the in-memory backend; nullptr brings
// the default back on next use).
template <class Service>
class InstalledInstance
{
public:
    template <class Factory>
    static Service& get(Factory&& makeDefault)
    {
        std::unique_ptr<Service>& service = slot();
        if (!service) {
            service = std::forward<Factory>(makeDefault)();
        }
        return *service;
    }

    static void set(std::unique_ptr<Service> service) { slot() = std::move(service); }

private:
    static std::unique_ptr<Service>& slot()
    {
        static std::unique_ptr<Service> service;
        return service;
    }
};

} // namespace platform
