#pragma once
// The application element of "getapps" and "appdetails" answers.

namespace pugi {
class xml_node;
}

namespace zentri {

struct App;

// Stores every attribute the element has into `app`, in a fixed order, even when another is
// missing; true only when all the required ones ("createtime" is optional) were present.
bool ReadAppElement(const pugi::xml_node& element, App& app);

}  // namespace zentri
