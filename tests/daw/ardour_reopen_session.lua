-- Run by Ardour's luasession in a fresh process: opens the saved session, so that Ardour
-- restores TandrelMini from its project file into a new instance, prints the parameter values
-- and the latency Ardour compensates, then resets the parameters to their defaults as
-- Ardour's menu does and prints the values again.
-- Input through the environment: KIV_LUA_DIR (this folder), KIV_SESSION_DIR, KIV_RATE, KIV_PARAMETER_COUNT.
local dir = os.getenv("KIV_SESSION_DIR")
local rate = tonumber(os.getenv("KIV_RATE"))
local count = tonumber(os.getenv("KIV_PARAMETER_COUNT"))

dofile(os.getenv("KIV_LUA_DIR") .. "/ardour_engine.lua")
kiv_start_engine(rate)
assert(load_session(dir, "tandrel"), "the session did not load")

local route = Session:route_by_name("Audio 1")
assert(not route:isnil(), "no track")
local insert = route:nth_plugin(0):to_insert()
assert(not insert:isnil(), "no plug-in on the track")
ARDOUR.LuaAPI.usleep(200000)
for i = 0, count - 1 do
  print(string.format("reopened %d %.9g", i, ARDOUR.LuaAPI.get_plugin_insert_param(insert, i, true)))
end
print(string.format("latency %d %d", insert:signal_latency(), Session:worst_route_latency()))
insert:reset_parameters_to_default()
ARDOUR.LuaAPI.usleep(100000)
for i = 0, count - 1 do
  print(string.format("reset %d %.9g", i, ARDOUR.LuaAPI.get_plugin_insert_param(insert, i, true)))
end
