#include "autore/lsp/checked_pair.hpp"

#include "model/code_page.hpp"

namespace autore::lsp {

Side Side::of_editor(std::string uri, std::string utf8)
{
    Side s;
    s.uri = std::move(uri);
    s.bytes = tratta::utf8_to_cp1252(utf8);
    s.utf8 = std::move(utf8);
    s.lines = LineIndex(s.utf8);
    return s;
}

Side Side::of_disk(std::string uri, std::string bytes)
{
    Side s;
    s.uri = std::move(uri);
    s.utf8 = tratta::cp1252_to_utf8(bytes);
    s.bytes = std::move(bytes);
    s.lines = LineIndex(s.utf8);
    return s;
}

Side Side::empty_train()
{
    Side s = of_disk({}, "[generale]\r\n[fine]\r\n");
    s.uri.clear();
    return s;
}

std::shared_ptr<const Analysis> check_pair(AnalysisCache& cache, Side line, Side train, std::string scenario_name,
                                           std::string train_name)
{
    auto a = std::make_shared<Analysis>();
    AnalysisRequest request;
    request.line_source = std::move(line.bytes);
    request.train_source = std::move(train.bytes);
    request.scenario_name = std::move(scenario_name);
    request.train_name = std::move(train_name);
    request.stand_in_train = train.stand_in();
    a->scenario = cache.analyse(std::move(request));
    a->line = std::move(line);
    a->train = std::move(train);
    return a;
}

} // namespace autore::lsp
