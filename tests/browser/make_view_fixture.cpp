// Writes the route page of the small test scenario, with source lines and
// diagnostics filled in by hand, for the test that opens it in a browser.
//   view_fixture PAGE.html
#include "app/files.hpp"
#include "autore/route_page/view_page.hpp"
#include "tools/view_fixture.hpp"

#include <iostream>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "uso: view_fixture PAGINA.html\n";
        return 1;
    }
    try {
        tratta::testing::TempFolder dir;
        const auto fixture = autore::testing::make_view_fixture(dir.path());
        tratta::write_file_replacing(argv[1], autore::view_page(fixture.scenario, fixture.extras));
    } catch (const std::exception& e) {
        std::cerr << e.what() << '\n';
        return 1;
    }
    std::cout << "scritto " << argv[1] << '\n';
    return 0;
}
