-- Neovim's own LSP client opens a faulty line file with `autore lsp` and
-- writes the diagnostics it sees, one a line ("line:col:severity code message",
-- 0-based, col in bytes of the buffer), to $RESULT; then it stops the server
-- and quits. Works with the client of Neovim 0.7 and later.
local function run()
  local file = os.getenv('LINE_FILE')
  vim.cmd('edit ++enc=cp1252 ' .. vim.fn.fnameescape(file))
  local buf = vim.api.nvim_get_current_buf()
  local config = { name = 'autore', cmd = { os.getenv('AUTORE'), 'lsp' }, root_dir = vim.fn.fnamemodify(file, ':p:h') }
  local client_id
  if vim.lsp.start then
    client_id = vim.lsp.start(config)
  else
    client_id = vim.lsp.start_client(config)
    vim.lsp.buf_attach_client(buf, client_id)
  end
  vim.wait(30000, function() return #vim.diagnostic.get(buf) >= 2 end, 50)
  local lines = {}
  for _, d in ipairs(vim.diagnostic.get(buf)) do
    local code = d.code or (d.user_data and d.user_data.lsp and d.user_data.lsp.code) or '?'
    table.insert(lines, string.format('%d:%d:%d %s %s', d.lnum, d.col, d.severity, tostring(code), d.message))
  end
  table.sort(lines)
  vim.fn.writefile(lines, os.getenv('RESULT'))
  vim.lsp.stop_client(client_id)
  vim.wait(10000, function() return vim.lsp.get_client_by_id(client_id) == nil end, 50)
end

local ok, problem = pcall(run)
if not ok then
  vim.fn.writefile({ 'errore: ' .. tostring(problem) }, os.getenv('RESULT'))
end
vim.cmd('qa!')
