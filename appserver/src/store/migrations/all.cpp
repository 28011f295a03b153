#include "store/migrations.hpp"

namespace durnak::server {

// Each step lives in its own file next to this one (NNNN_name.cpp, picked up by the build).
// To add one: write the file, declare its function here and append it to the list.
// Never change a step that has shipped; add a new one instead.
Migration migration0001Settings();
Migration migration0002Domain();
Migration migration0010Web();
Migration migration0020Sessions();
Migration migration0021SigninThrottle();

const std::vector<Migration>& schemaMigrations()
{
    static const std::vector<Migration> all = {
        migration0001Settings(),
        migration0002Domain(),
        migration0010Web(),
        migration0020Sessions(),
        migration0021SigninThrottle(),
    };
    return all;
}

} // namespace durnak::server
