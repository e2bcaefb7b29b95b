-- The line file and the train file of a scenario in Neovim, 0.7 or later
-- (the one Debian 12 ships) as well as current releases: the files are read
-- and written in Windows-1252, and `autore lsp` checks them while they are
-- written, one server for each scenario folder.
--
-- Put this file in ~/.config/nvim/plugin/ (on Windows
-- %LOCALAPPDATA%\nvim\plugin\). `autore` is looked for on the PATH; to name
-- another one: vim.g.autore_percorso = '/percorso/di/autore' in init.lua.

local patterns = { '*_linea.txt', '*-.txt' }
local group = vim.api.nvim_create_augroup('autore', { clear = true })
local clients = {} -- scenario folder -> client id, on Neovim 0.7

local function server(folder)
  return { name = 'autore', cmd = { vim.g.autore_percorso or 'autore', 'lsp' }, root_dir = folder }
end

-- The server of the folder, started the first time a file of it is opened.
-- Neovim 0.8 and later keep one per folder themselves (vim.lsp.start); 0.7
-- has only vim.lsp.start_client, and this file keeps them.
local function attach(buf, folder)
  if vim.lsp.start then
    vim.lsp.start(server(folder), { bufnr = buf })
    return
  end
  local id = clients[folder]
  if not (id and vim.lsp.get_client_by_id(id)) then
    id = vim.lsp.start_client(server(folder))
    clients[folder] = id
  end
  if id then
    vim.lsp.buf_attach_client(buf, id)
  end
end

-- Read the sources as Windows-1252, as the simulator does.
vim.api.nvim_create_autocmd('BufReadPre', {
  group = group,
  pattern = patterns,
  callback = function()
    vim.opt.fileencodings = 'cp1252'
  end,
})

vim.api.nvim_create_autocmd({ 'BufReadPost', 'BufNewFile' }, {
  group = group,
  pattern = patterns,
  callback = function(args)
    vim.opt.fileencodings = 'ucs-bom,utf-8,default,latin1'
    vim.bo[args.buf].fileencoding = 'cp1252'
    local folder = vim.fn.fnamemodify(vim.api.nvim_buf_get_name(args.buf), ':p:h')
    attach(args.buf, folder)
  end,
})
