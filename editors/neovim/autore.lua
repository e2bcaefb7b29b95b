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
local clients = {} -- scenario folder -> client id

-- The server of the folder, started the first time a file of it is opened.
local function client_for(folder)
  local id = clients[folder]
  if id and vim.lsp.get_client_by_id(id) then
    return id
  end
  id = vim.lsp.start_client({
    name = 'autore',
    cmd = { vim.g.autore_percorso or 'autore', 'lsp' },
    root_dir = folder,
  })
  clients[folder] = id
  return id
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
    local id = client_for(folder)
    if id then
      vim.lsp.buf_attach_client(args.buf, id)
    end
  end,
})
