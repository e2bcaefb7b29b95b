-- Neovim's own LSP client, started by the authors' plugin file
-- (editors/neovim/autore.lua) as an author's Neovim starts it, opens a faulty
-- line file with `autore lsp` and writes the diagnostics it sees, one a line
-- ("line:col:severity code message", 0-based, col in bytes of the buffer), and the buffer's file encoding on the
-- last line, to $RESULT; then it stops the server and quits.
local function run()
  local file = os.getenv('LINE_FILE')
  vim.g.autore_percorso = os.getenv('AUTORE')
  vim.cmd('luafile ' .. vim.fn.fnameescape(os.getenv('PLUGIN')))
  vim.cmd('edit ' .. vim.fn.fnameescape(file))
  local buf = vim.api.nvim_get_current_buf()
  vim.wait(30000, function() return #vim.diagnostic.get(buf) >= 2 end, 50)
  local lines = {}
  for _, d in ipairs(vim.diagnostic.get(buf)) do
    local code = d.code or (d.user_data and d.user_data.lsp and d.user_data.lsp.code) or '?'
    table.insert(lines, string.format('%d:%d:%d %s %s', d.lnum, d.col, d.severity, tostring(code), d.message))
  end
  table.sort(lines)
  table.insert(lines, 'encoding ' .. vim.bo[buf].fileencoding)
  vim.fn.writefile(lines, os.getenv('RESULT'))
  local attached = vim.lsp.get_clients and vim.lsp.get_clients({ bufnr = buf }) or vim.lsp.buf_get_clients(buf)
  for _, client in pairs(attached) do
    vim.lsp.stop_client(client.id)
    vim.wait(10000, function() return vim.lsp.get_client_by_id(client.id) == nil end, 50)
  end
end

local ok, problem = pcall(run)
if not ok then
  vim.fn.writefile({ 'errore: ' .. tostring(problem) }, os.getenv('RESULT'))
end
vim.cmd('qa!')
